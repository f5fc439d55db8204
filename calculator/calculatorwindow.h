// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/calculatorpage.h"
#include "calculator/jobsheet.h"
#include "calculator/leavesteps.h"
#include "calculator/windowhost.h"
#include "design/windowdesign.h"
#include "operations/machine.h"
#include "operations/operation.h"
#include "solver/consistency.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <vector>

class QKeyEvent;
class QLineEdit;
class QMenu;

namespace zorvik::calculator {

class ButtonLabel;
class TabControl;

// A calculator window built from its design: fields, frames, pages and button labels, with the
// behaviour every calculator window shares (key filter, Enter and Esc, Calculate, Reset, Import,
// Back, Cancel and the hover colours), and on top of it Recalculate (F5): the results of the
// page's solves are told from typed texts, marked out of date when an input changes, and
// computed again on request. Pages are numbered 0 (roughing) and 1 (finishing).
class CalculatorWindow : public QWidget,
                         public FieldMenuExtension,
                         public MachineUser,
                         public SheetSource,
                         public JobWindow {
    Q_OBJECT
public:
    // The window keeps its own copies of the design and the operation. A design mistake stops
    // the program with a message naming it. Without a host, Back only closes the window.
    CalculatorWindow(design::WindowDesign design, OperationDefinition operation,
                     WindowHost *host = nullptr, QWidget *parent = nullptr);

    // Opens the operation's window in the host's work area, or brings the open one forward with
    // its texts kept.
    static CalculatorWindow *open(const OperationDefinition &operation, WindowHost &host);

    const design::WindowDesign &design() const { return m_design; }
    int pageCount() const { return static_cast<int>(m_design.pages.size()); }
    int shownPage() const;
    QLineEdit *field(const QString &name) const;

    void calculate(int page);
    // Blanks every field of the page that still holds what a solve wrote, then calculates; the
    // next Ctrl+Z on the page, before any other change, brings the page back as it was.
    void recalculate(int page);
    // The entries a field's context menu gains in this window.
    void addFieldActions(QMenu *menu, QLineEdit *field) override;
    void reset(int page);
    void importTwins(int page);
    // The machine the window's results are checked against; none checks nothing.
    const std::optional<Machine> &machine() const { return m_machine; }
    void setMachine(std::optional<Machine> machine);
    void chooseMachine() override;
    void machinesChanged() override;
    void back();
    void cancel();
    std::vector<SheetPage> sheetPages() const override;

    job::WindowRecord record() const override;
    void restore(const job::WindowRecord &record) override;
    void setChangeListener(std::function<void()> listener) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Field {
        QLineEdit *edit;
        int page;
        QString tag;
        QString defaultText;
        design::KeyFilter filter;
    };

    void buildPage(int page, QWidget *container);
    QHash<QString, QWidget *> buildFrames(int page, QWidget *container);
    void buildFields(int page, const QHash<QString, QWidget *> &frames);
    void buildButtons(int page, QWidget *buttonFrame);
    void watchFields(int page);
    void buildHover();
    void run(design::Action action, int page);
    bool previewKey(const QKeyEvent &event);
    void hover(QObject *watched);
    CalculatorPage &page(int page) const { return *m_pages.at(static_cast<std::size_t>(page)); }
    int pageOf(const QObject *field) const;
    void closeWindow();

    const design::WindowDesign m_design;
    const OperationDefinition m_operation;
    WindowHost *m_host = nullptr;
    TabControl *m_tabs = nullptr;
    std::vector<Field> m_fields;
    QHash<const QObject *, design::KeyFilter> m_filters;
    LeaveSteps m_leaveSteps;
    // The labels each surface restores to the normal colour; fields, captions and frames that
    // restore nothing are here with an empty list so the pointer over them stops at them.
    QHash<const QObject *, QList<ButtonLabel *>> m_surfaces;
    // Per field id, the names users know the fields by, for the explanations.
    const Captions m_captions;
    // What each rule of the list reads, and which rules check each field, worked out once for
    // every page.
    const ConsistencyCheck m_check;
    // Owned by the window as its children.
    std::vector<CalculatorPage *> m_pages;
    std::optional<Machine> m_machine;
    std::function<void()> m_changed;
};

} // namespace zorvik::calculator
