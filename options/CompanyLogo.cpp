#include "options/CompanyLogo.h"

#include "data/RuntimeError.h"
#include "data/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr qint32 fileAccessError = 75;
const QString source = QStringLiteral("frmOptions");
const QString inUse = QStringLiteral("Firma");
const QString chosen = QStringLiteral("tmpFirma");

[[noreturn]] void fail(const QString &text)
{
    throw RuntimeErrorException(fileAccessError, source, text);
}

} // namespace

CompanyLogo::CompanyLogo(QString logoFolder)
    : m_folder(std::move(logoFolder))
{}

QString CompanyLogo::pictureSuffix(const QString &file)
{
    // Judged by the content: a renamed text file is no picture.
    QImageReader reader(file);
    const QByteArray format = reader.format().toLower();
    if (!reader.canRead())
        return {};
    if (format == "svg" || format == "png")
        return QString::fromLatin1(format);
    if (format == "jpeg" || format == "jpg")
        return QStringLiteral("jpg");
    return {};
}

QString CompanyLogo::find(const QString &baseName) const
{
    // Same order as the protocol print looks for the logo.
    const QStringList files = QDir(m_folder).entryList(QDir::Files, QDir::Name);
    for (const char *suffix : {"svg", "png", "jpg", "jpeg"}) {
        const QString wanted = baseName + u'.' + QLatin1String(suffix);
        for (const QString &file : files) {
            if (file.compare(wanted, Qt::CaseInsensitive) == 0)
                return m_folder + u'/' + file;
        }
    }
    return {};
}

QString CompanyLogo::current() const
{
    return find(inUse);
}

QString CompanyLogo::staged() const
{
    return find(chosen);
}

void CompanyLogo::removeAll(const QString &baseName) const
{
    for (QString file = find(baseName); !file.isEmpty(); file = find(baseName)) {
        QFile logo(file);
        if (!logo.remove())
            fail(resString(25639).arg(QDir::toNativeSeparators(file), logo.errorString()));
    }
}

void CompanyLogo::stage(const QString &file)
{
    const QString suffix = pictureSuffix(file);
    if (suffix.isEmpty())
        fail(resString(25638).arg(QDir::toNativeSeparators(file)));
    if (!QDir().mkpath(m_folder))
        fail(resString(25633).arg(QDir::toNativeSeparators(m_folder)));
    removeAll(chosen);
    const QString target = m_folder + u'/' + chosen + u'.' + suffix;
    QFile picture(file);
    if (!picture.copy(target)) {
        const QString reason = picture.errorString();
        QFile::remove(target);
        fail(resString(25634).arg(QDir::toNativeSeparators(file),
                                  QDir::toNativeSeparators(target), reason));
    }
}

void CompanyLogo::install()
{
    const QString picture = staged();
    if (picture.isEmpty())
        return;
    // The new logo is complete under its final name before the old one goes.
    const QString target = m_folder + u'/' + inUse + u'.' + QFileInfo(picture).suffix().toLower();
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QFile file(picture);
    if (!file.copy(part)) {
        const QString reason = file.errorString();
        QFile::remove(part);
        fail(resString(25634).arg(QDir::toNativeSeparators(picture),
                                  QDir::toNativeSeparators(target), reason));
    }
    removeAll(inUse);
    QFile copied(part);
    if (!copied.rename(target))
        fail(resString(25635).arg(QDir::toNativeSeparators(part),
                                  QDir::toNativeSeparators(target), copied.errorString()));
    discardStaged();
}

void CompanyLogo::remove()
{
    removeAll(inUse);
}

void CompanyLogo::discardStaged()
{
    for (QString file = staged(); !file.isEmpty() && QFile::remove(file); file = staged()) {}
}
