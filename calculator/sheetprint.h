// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/jobsheet.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

namespace zorvik::calculator {

// The sheet as rich text: per page, a heading, what the job used, and a table of every field,
// in black on white so that it copies and prints on any printer.
QString sheetHtml(const JobSheet &sheet);

// Lays the sheet out on the device's pages (a printer's or a PDF writer's), a calculator page
// to a new sheet of paper.
void printSheet(const JobSheet &sheet, QPagedPaintDevice &device);

// The paper users of the locale have at hand: Letter where it is US measure, A4 elsewhere.
QPageSize localPaper();

// Writes the sheet as a PDF on the paper given, through a file beside path that replaces it
// only when the disk holds all of it. Returns why it could not, naming the file; empty when
// written.
QString writeSheetPdf(const JobSheet &sheet, const QString &path,
                      const QPageSize &paper = localPaper(),
                      QPageLayout::Orientation orientation = QPageLayout::Portrait);

} // namespace zorvik::calculator
