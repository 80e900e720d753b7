#pragma once

#include "sync/TestRecord.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// Why one infrared file gave no test.
struct InfraredFileProblem
{
    enum class Kind {
        None,
        Incomplete,   // empty, not text, too large, no test date, samples missing or surplus
        InvalidValue, // a value that cannot be read: date, number, customer number, sample
    };
    Kind kind = Kind::None;
    int line = 0; // InvalidValue: the line (counted from 1) that holds the value
    QString text; // InvalidValue: that line
};

struct InfraredFileResult
{
    TestRecord test; // only to be used when there is no problem
    InfraredFileProblem problem;

    bool ok() const { return problem.kind == InfraredFileProblem::Kind::None; }
};

// Reads the test files of one infrared import, one test per file, in the order of the import.
//
// A file is Windows-1252 text of "KEY: value" lines, ended by its last line or an "END:" line;
// after "UNIT:" come the sample lines of the curves up to a line that begins with "END:". The
// firmware text, the sample count, the sample interval and the values per sample line carry
// over to the files read after the one that gives them; everything else belongs to each file's
// own test. Texts of numbers are written in the number format of the given locale.
class InfraredFileReader
{
public:
    // A test file of the instrument is a few kilobytes; larger files are refused unread.
    static constexpr qint64 maximumFileSize = 16 * 1024 * 1024;

    explicit InfraredFileReader(QLocale locale = QLocale());

    InfraredFileResult read(const QByteArray &content);

    // The values that carry over between files.
    struct CarryOver
    {
        QString firmwareText;
        int sampleCount = 0;
        int intervalSeconds = 0;
        int valuesPerLine = 0;
    };
    const CarryOver &carryOver() const { return m_carry; }

private:
    QLocale m_locale;
    CarryOver m_carry;
};
