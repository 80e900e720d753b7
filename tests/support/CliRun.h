#pragma once

#include <QProcess>
#include <QStringList>

// The command line front end run as a process on the home folder home, in German.
struct CliResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliResult runCli(const QString &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUMETRA4_HOME"), home);
    environment.insert(QStringLiteral("LUMETRA4_LANG"), QStringLiteral("de"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LUMETRA4_CLI), arguments);
    if (!process.waitForFinished(60000))
        qFatal("lumetra4 did not finish");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
