// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/sheetprint.h"

#include "job/filewrite.h"
#include "solver/quotedtext.h"
#include "wording/wording.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextOption>

namespace zorvik::calculator {

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString infoRow(const QString &label, const QString &value)
{
    return QStringLiteral("<tr><td width=\"22%\"><b>%1</b></td><td>%2</td></tr>")
        .arg(label, escaped(value));
}

// A mark's word stands out in bold; what follows it says what it is about.
QString markHtml(const SheetField::Mark &mark)
{
    return QStringLiteral("<b>%1</b>: %2").arg(escaped(mark.word), escaped(mark.detail));
}

QString fieldRow(const SheetField &field)
{
    QStringList marks;
    for (const SheetField::Mark &mark : field.marks)
        marks << markHtml(mark);
    // A marked row is set apart by its weight too, for a reader scanning down the text column.
    const QString text = field.marks.empty()
                             ? escaped(field.text)
                             : QStringLiteral("<b>%1</b>").arg(escaped(field.text));
    return QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>")
        .arg(escaped(field.caption), text, escaped(field.reading),
             escaped(field.origin).replace(u' ', QStringLiteral("&nbsp;")),
             marks.join(QStringLiteral("<br>")));
}

QString pageHtml(const JobSheet &sheet, const SheetPage &page, bool first)
{
    QString title = page.operation;
    if (!page.page.isEmpty())
        title += QStringLiteral(" - ") + page.page;
    QString html =
        QStringLiteral("<h2%1>%2</h2>")
            .arg(first ? QString() : QStringLiteral(" style=\"page-break-before: always\""),
                 escaped(title));
    html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">");
    html += infoRow(QStringLiteral("Job"), sheet.jobName);
    html += infoRow(QStringLiteral("Date"), sheet.date);
    html += infoRow(QStringLiteral("Material"),
                    page.material.isEmpty() ? QStringLiteral("none chosen") : page.material);
    html += infoRow(QStringLiteral("Tool"),
                    page.tool.isEmpty() ? QStringLiteral("none chosen") : page.tool);
    html += infoRow(QStringLiteral("Machine"),
                    page.machine.isEmpty() ? QStringLiteral("none chosen") : page.machine);
    if (!page.machine.isEmpty()) {
        html += infoRow(QStringLiteral("Limits exceeded"),
                        page.limits.isEmpty() ? QStringLiteral("none")
                                              : page.limits.join(QStringLiteral("; ")));
    }
    html += QStringLiteral("</table><p></p>");
    // Solid black cell borders; collapsed into single lines they would more than double the
    // time the layout takes.
    html += QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
        "style=\"border-style: solid; border-color: black\">"
        "<thead><tr><th width=\"20%\" align=\"left\">Field</th>"
        "<th width=\"23%\" align=\"left\">Text</th><th width=\"15%\" align=\"left\">Reading</th>"
        "<th width=\"9%\" align=\"left\">From</th><th align=\"left\">Marks</th></tr></thead>");
    for (const SheetField &field : page.fields)
        html += fieldRow(field);
    html += QStringLiteral("</table>");
    return html;
}

} // namespace

QString sheetHtml(const JobSheet &sheet)
{
    QString html = QStringLiteral("<html><body style=\"color: black; background: white\">");
    for (std::size_t i = 0; i < sheet.pages.size(); ++i)
        html += pageHtml(sheet, sheet.pages[i], i == 0);
    html += QStringLiteral("</body></html>");
    return html;
}

void printSheet(const JobSheet &sheet, QPagedPaintDevice &device)
{
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(8);
    document.setDefaultFont(font);
    // A field may hold a long text with no space to break it at; it wraps rather than pushing
    // the table past the paper's edge.
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setHtml(sheetHtml(sheet));
    document.print(&device);
}

QPageSize localPaper()
{
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                         ? QPageSize::Letter
                         : QPageSize::A4);
}

// The whole document is made in memory first: the PDF writer would take a short write on a full
// disk for a whole one.
QString writeSheetPdf(const JobSheet &sheet, const QString &path, const QPageSize &paper,
                      QPageLayout::Orientation orientation)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(QStringLiteral("Job sheet: %1").arg(sheet.jobName));
        writer.setCreator(QStringLiteral("Zorvik-Engineer"));
        writer.setPageSize(paper);
        writer.setPageOrientation(orientation);
        // The layout keeps a margin of its own within the page.
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        printSheet(sheet, writer);
    }
    const std::optional<job::FileWriteError> error = job::writeFileAtomically(
        QFile::encodeName(path).toStdString(),
        std::string_view(pdf.data().constData(), std::size_t(pdf.data().size())));
    if (!error)
        return {};
    return QStringLiteral("The job sheet could not be written to %1: %2.")
        .arg(QString::fromStdString(quotedText(path.toStdString(), 200)),
             QString::fromLocal8Bit(wording(*error)));
}

} // namespace zorvik::calculator
