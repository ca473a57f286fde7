#pragma once

#include <cstdio>
#include <string>

class QString;

// An opt-in record of what the edit windows show, for measuring the program
// from outside (how long a cold start takes until a file's end is on the
// screen). When the environment variable QUILLET_PAINT_REPORT names a file,
// every paint of an edit window appends one line to it:
//   <seconds since the process started> <CLOCK_MONOTONIC seconds>
//   <first line> <last line> <line pane text> <column pane text>
// with the lines painted counted from 1. Without the variable Active() is
// null and a paint costs one test of a pointer.
class VxEditPaintReport {
public:
    // The report of this process, or null when none was asked for.
    static VxEditPaintReport* Active();

    void Painted(int firstLine, int lastLine, const QString& lineText, const QString& columnText);

    VxEditPaintReport(const VxEditPaintReport&) = delete;
    VxEditPaintReport& operator=(const VxEditPaintReport&) = delete;

private:
    explicit VxEditPaintReport(std::FILE* file);

    std::FILE* file_;
};
