#pragma once

#include <QString>

// The company logo printed on protocols: "Firma.<svg|png|jpg>" in the logo folder. A newly
// chosen picture waits as "tmpFirma.<ext>" until the options are applied.
class CompanyLogo
{
public:
    explicit CompanyLogo(QString logoFolder);

    // The logo in use, or empty when there is none.
    QString current() const;
    // The chosen logo waiting to be applied, or empty.
    QString staged() const;

    // Copies source as the chosen logo. Throws RuntimeErrorException, with nothing changed,
    // when source is not an SVG, PNG or JPEG picture or cannot be copied.
    void stage(const QString &source);
    // Makes the chosen logo the one in use, replacing any earlier logo. Throws
    // RuntimeErrorException; then the earlier logo is still in use.
    void install();
    // Deletes the logo in use; throws when a file cannot be deleted.
    void remove();
    // Forgets a chosen logo that will not be applied.
    void discardStaged();

    // The file suffix for a picture's content ("svg", "png", "jpg"), empty for anything else.
    static QString pictureSuffix(const QString &file);

private:
    QString find(const QString &baseName) const;
    void removeAll(const QString &baseName) const;

    QString m_folder;
};
