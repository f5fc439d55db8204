// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/chipthickness.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
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

    // The chosen group's force, when it gives one.
    std::optional<MaterialForce> chosenForce() const;
    const materials::MaterialGroup *chosenGroup() const;
    // Whether the force is asked for at 1 mm rather than at the page's chip thickness.
    bool atOneMillimetre() const;

    void accept() override;

private:
    void filter(const QString &text);
    void showChoice();

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
};

} // namespace zorvik::calculator
