// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/pageresults.h"
#include "calculator/windowhost.h"
#include "design/windowdesign.h"
#include "operations/machine.h"
#include "operations/operation.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <optional>
#include <vector>

class QFocusEvent;
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
class CalculatorWindow : public QWidget, public FieldMenuExtension, public MachineUser {
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

    struct PageStep {
        int page;
        void (*run)(design::PageState &page);
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
    bool focusChanged(QObject *watched, const QFocusEvent &event);
    bool leave(const PageStep &step, QLineEdit *left, Qt::FocusReason reason);
    QLineEdit *focusPastLocked(int page, QWidget *locked, QLineEdit *left,
                               Qt::FocusReason reason) const;
    FieldStore pageTexts(int page) const;
    void showTexts(int page, const FieldStore &given, const FieldStore &texts);
    void edited(int page, FieldId field);
    void showResults(int page);
    bool undoRecalculate(int page);
    void chooseMaterial(int page);
    void chooseStart(int page, bool speed);
    int pageOf(const QObject *field) const;
    void closeWindow();

    const design::WindowDesign m_design;
    const OperationDefinition m_operation;
    WindowHost *m_host = nullptr;
    TabControl *m_tabs = nullptr;
    std::vector<Field> m_fields;
    // Per page, the fields in the order of the design's field table.
    std::vector<std::vector<QLineEdit *>> m_pageFields;
    // Per page, the fields in the order of the relation list.
    std::vector<std::vector<QLineEdit *>> m_solveFields;
    QHash<const QObject *, design::KeyFilter> m_filters;
    QHash<const QObject *, PageStep> m_leaveSteps;
    // The field that last took the focus and has not lost it since; only a field that had the
    // focus can leave it, however Qt moves the focus on its way.
    const QObject *m_focused = nullptr;
    // The labels each surface restores to the normal colour; fields, captions and frames that
    // restore nothing are here with an empty list so the pointer over them stops at them.
    QHash<const QObject *, QList<ButtonLabel *>> m_surfaces;
    // Per field id, the names users know the fields by, for the explanations.
    const Captions m_captions;
    // Per page, where its texts came from.
    std::vector<PageResults> m_results;
    // Per page, the page as it was before its last Recalculate, while Ctrl+Z can bring it back.
    struct Before {
        FieldStore texts;
        PageResults results;
    };
    std::vector<std::optional<Before>> m_beforeRecalculate;
    // Set while the window writes texts that are not edits: a solve's, Recalculate's blanks, an
    // undone Recalculate.
    bool m_showingSolve = false;
    // The page Reset is clearing, -1 when none.
    int m_resetting = -1;
    std::optional<Machine> m_machine;
};

} // namespace zorvik::calculator
