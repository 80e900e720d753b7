#pragma once

#include "statistics/FilledTemplate.h"
#include "statistics/LogoPicture.h"
#include "statistics/ProtocolTemplateChoice.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

struct ProtocolTest;

// Builds the protocol of a test: reads the template its kind and rule set call for (in the
// user's language, else the English one), defines the named values, places the logo and the
// curve charts. Templates are read once per builder, so a long print run reads each file once.
class ProtocolBuilder
{
public:
    // Tells the user something worth knowing that does not stop the protocol: a language
    // without templates, a logo that cannot be read. Each is told once per builder.
    using Notice = std::function<void(const QString &message)>;

    ProtocolBuilder(QString templateFolder, int languageNo, const QString &logoFile,
                    QLocale locale = QLocale::system());

    // The shipped templates.
    static QString defaultTemplateFolder();

    void setNotice(Notice notice) { m_notice = std::move(notice); }

    // The protocol, or nullptr for a test kind that has none. A missing or faulty template
    // throws RuntimeErrorException whose text names the file and the line.
    std::unique_ptr<FilledTemplate> build(const ProtocolTest &test);

    // Reads and checks the template of a test without building its protocol: false for a test
    // kind that has none; throws as build().
    bool check(const ProtocolTest &test);

    // The template file a test reads, after the fall-back to English; throws as build().
    QString templatePath(const ProtocolTemplateChoice &choice);

private:
    const WorkbookTemplate &templateFor(const ProtocolTemplateChoice &choice);
    void checkRectangles(const WorkbookTemplate &workbook, const ProtocolTemplateChoice &choice);
    void placeCharts(FilledTemplate &protocol, const ProtocolTest &test,
                     const ProtocolTemplateChoice &choice) const;
    void tell(const QString &key, const QString &message);

    QString m_folder;
    int m_languageNo;
    QLocale m_locale;
    LogoPicture m_logo;
    Notice m_notice;
    QSet<QString> m_told;
    QHash<QString, WorkbookTemplate> m_templates; // by path
};
