#pragma once

#include "masterdata/import/CustomerImport.h"
#include "masterdata/import/ImportSource.h"

#include <QDialog>

#include <memory>

class DatabaseSession;
class DestinationFieldList;
class Progress;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;
class SourceFieldList;

// The customer import assistant: choose a table of the source, map its fields onto the
// customer fields by drag and drop, choose the update method, import. Modal.
class frmImport : public QDialog
{
    Q_OBJECT
public:
    enum Page { Tables = 1, Mapping = 2, UpdateMethodPage = 3, Import = 4 };

    frmImport(DatabaseSession &session, const QString &filePath, Progress *progress,
              QWidget *parent = nullptr);
    ~frmImport() override;

    // Opens the source and shows the first page; false (after reporting the error) when the
    // source cannot be opened, and the window is not to be shown.
    bool openSource();

    int page() const { return m_page; }
    const ImportMapping &mapping() const { return m_mapping; }
    // What a drop onto a destination entry does, and what dropping it back does.
    void mapField(int entry, const QString &sourceField);
    void removeMapping(int entry);

protected:
    void reject() override;

private:
    void showPage(int page);
    void buildMappingPage();
    void showMappingPage();
    void refreshDestinationList();
    void forward();
    void back();
    void runImport();
    void finishWith(const QString &message);

    DatabaseSession &m_session;
    QString m_filePath;
    QString m_fileTitle;
    Progress *m_progress;
    std::unique_ptr<ImportSource> m_source;
    QString m_tableName;
    ImportTable m_table;
    ImportMapping m_mapping;
    int m_page = Tables;
    int m_firstPage = Tables;
    bool m_importing = false;
    bool m_cancelRequested = false;

    QGroupBox *FrameTabellen;
    QListWidget *ListTabellen;
    QGroupBox *FrameSourceFields;
    SourceFieldList *lstvwSourceFields;
    QGroupBox *FrameDestFields;
    DestinationFieldList *lstvwDestFields;
    QGroupBox *FrameGrid;
    QTableWidget *DataGrid1;
    QGroupBox *FrameAktualisieren;
    QRadioButton *OptionUpdate;
    QRadioButton *OptionNoUpdate;
    QLabel *lblHinweis;
    QLabel *lblDatenbankname;
    QPushButton *cmdZurueck;
    QPushButton *cmdWeiter;
    QPushButton *cmdAbbrechen;
};
