// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/chipthickness.h"
#include "operations/startingdata.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace zorvik::calculator {

// The work-material groups by ISO class, filtered by what is typed above them, with the
// specific cutting force each gives at the page's chip thickness. Without a chip thickness it
// says what to type first, and gives kc1 itself (h = 1 mm) only when asked to. The group chosen
// last is chosen again when the dialog next opens.
class MaterialDialog : public QDialog {
    Q_OBJECT
public:
    MaterialDialog(const PageChipThickness &thickness, QWidget *parent = nullptr);

    // The starting value a group gives for a tool material, for the field the dialog fills.
    using StartingLookup = std::function<std::optional<StartingValue>(
        const materials::MaterialGroup &, cuttingdata::Tool)>;
    // The same list for a starting cutting speed or feed: with a choice of tool material (the
    // last one chosen comes back), each group's starting value, and its range and source.
    MaterialDialog(StartingLookup lookup, const QString &title, QWidget *parent = nullptr);

    // The chosen group's force, when it gives one.
    std::optional<MaterialForce> chosenForce() const;
    // The chosen group's starting value, when it has one.
    std::optional<StartingValue> chosenStart() const;
    const materials::MaterialGroup *chosenGroup() const;
    // The chosen group's designation the filter names, whole or by one of its words, as the
    // table spells it ("C45" for "c45"); "" when it names none of the group's.
    std::string chosenDesignation() const;
    // The tool material chosen for a starting value; none in the force's dialog.
    std::optional<cuttingdata::Tool> chosenTool() const;
    // Whether the force is asked for at 1 mm rather than at the page's chip thickness.
    bool atOneMillimetre() const;

    void accept() override;

private:
    void addGroups();
    void showThickness();
    void keepButtonIcons();
    void passClassRows(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void selectLastGroup();
    void filter(const QString &text);
    void showChoice();
    std::optional<StartingValue> startFor(const materials::MaterialGroup &group) const;
    bool choosable() const;

    const PageChipThickness m_thickness;
    QLineEdit *m_filter;
    QTreeWidget *m_groups;
    QLabel *m_thicknessText;
    QCheckBox *m_atOneMillimetre;
    QLabel *m_result;
    QDialogButtonBox *m_buttons;
    // Every group's row, choosable or not, with the group it shows.
    struct GroupItem {
        QTreeWidgetItem *item;
        const materials::MaterialGroup *group;
    };
    std::vector<GroupItem> m_groupItems;
    StartingLookup m_lookup; // set for a starting value
    QComboBox *m_tool = nullptr;
};

} // namespace zorvik::calculator
