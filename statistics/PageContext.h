#pragma once

#include <QDateTime>
#include <QLocale>

// What a printed page knows about itself: its number, the page count and when it was printed.
struct PageContext
{
    int page = 1;
    int pages = 1;
    QDateTime printed = QDateTime::currentDateTime();
    QLocale locale = QLocale::system();
};
