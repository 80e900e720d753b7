#include "cli/StringsCommand.h"

#include "cli/Command.h"
#include "data/StringTable.h"

int runStringsCommand(const QStringList &arguments)
{
    if (arguments.isEmpty() || arguments.contains(QStringLiteral("--help"))) {
        printLine(QStringLiteral("Usage: lumetra4 strings NUMBER...\n"
                                 "Prints each numbered text of the string table in the running "
                                 "language (LUMETRA4_LANG overrides it), one per line."));
        return arguments.isEmpty() ? 2 : 0;
    }
    int exitCode = 0;
    for (const QString &argument : arguments) {
        bool ok = false;
        const int number = argument.toInt(&ok);
        if (!ok) {
            exitCode = usageError(QStringLiteral("not a string number: ") + argument);
            continue;
        }
        printLine(resString(number));
    }
    return exitCode;
}
