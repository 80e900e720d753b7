#include "app/frmAbout.h"

#include "app/LocaleFont.h"

#include <QLabel>
#include <QPushButton>
#include <QRegion>
#include <QVBoxLayout>

namespace {

constexpr int diameter = 241;

QLabel *centredLabel(const QString &text, QWidget *parent, const char *name)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info VelmoraProjekt"));
    setFixedSize(diameter, diameter);
    setMask(QRegion(0, 0, diameter, diameter, QRegion::Ellipse));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 24);
    auto *picture = new QLabel(this);
    picture->setPixmap(QIcon(QStringLiteral(":/pictures/lumetra4.svg")).pixmap(48, 48));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    layout->addWidget(centredLabel(QStringLiteral("Lumetra 4 Desktop"), this, "lblTitle"));
    layout->addWidget(centredLabel(QStringLiteral("Version ") + QStringLiteral(LUMETRA4_VERSION),
                                   this, "lblVersion"));
    layout->addWidget(centredLabel(QStringLiteral("Copyright © Quennel Velmora GmbH"), this,
                                   "lblCopyright"));
    lblDLL = centredLabel(QString(), this, "lblDLL");
    layout->addWidget(lblDLL);
    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(cmdOK, 0, Qt::AlignCenter);

    ApplyLocaleFont(this, true);
}

QString frmAbout::busLibraryText(const QString &componentName, int versionNr)
{
    return componentName + QStringLiteral(" V%1.%2")
                               .arg(versionNr / 100)
                               .arg(versionNr % 100, 2, 10, QLatin1Char('0'));
}

void frmAbout::setBusLibrary(const QString &componentName, int versionNr)
{
    lblDLL->setText(busLibraryText(componentName, versionNr));
}
