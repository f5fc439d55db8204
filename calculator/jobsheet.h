// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zorvik::calculator {

// What the job sheet says of one field: everything a reader at the machine needs without the
// window, so nothing of it may rest on colour.
struct SheetField {
    QString caption;
    QString text;    // every character the field holds
    QString reading; // rounded, with its unit; empty unless the text is a number
    // "typed", "default", "rule 8b", "material", "imported"; empty for a blank field.
    QString origin;
    struct Mark {
        QString word;   // "DISAGREES", "OUT OF DATE", "NOT A NUMBER", "BEYOND THE MACHINE"
        QString detail; // what it is about
    };
    std::vector<Mark> marks;
};

// One page of a calculator window.
struct SheetPage {
    QString operation;  // the window's caption
    QString page;       // the page's caption; empty for a window of one page
    QString material;   // the work-material groups the page took data from; empty for none
    QString tool;       // the tool material its starting data is for; empty for none
    QString machine;    // the machine chosen for the window; empty for none
    QStringList limits; // each result beyond the machine, in words
    std::vector<SheetField> fields;
};

struct JobSheet {
    QString jobName;
    QString date;
    std::vector<SheetPage> pages;
};

// A window whose pages go on the job sheet.
class SheetSource {
public:
    virtual ~SheetSource() = default;
    // Its pages that hold anything but what they opened with, in the window's order.
    virtual std::vector<SheetPage> sheetPages() const = 0;
};

} // namespace zorvik::calculator
