// Opens a database like a second program would and keeps it open until killed.
#include "data/Database.h"
#include "data/RuntimeError.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Database db;
    try {
        db.open(Database::BuildConnectionString(QString::fromLocal8Bit(argv[1])));
    } catch (const RuntimeErrorException &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::puts("open");
    std::fflush(stdout);
    return app.exec();
}
