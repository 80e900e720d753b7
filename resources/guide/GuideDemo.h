#pragma once

#include <QString>

class DatabaseSession;

// Fills a fresh database with the guide's demo office the way the office itself fills one:
// customers from a semicolon file through the customer import, tests from infrared test files
// through the infrared import, and the automatic filing of every new test it can place.
// Throws RuntimeErrorException when a step fails.
class GuideDemo
{
public:
    explicit GuideDemo(QString demoFolder);

    void fill(DatabaseSession &session) const;
    QString customerFile() const;
    QString infraredFolder() const;

private:
    QString m_folder;
};
