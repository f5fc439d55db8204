// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/materialdialog.h"

#include "calculator/usersettings.h"
#include "solver/conversions.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace zorvik::calculator {

namespace {

using materials::MaterialGroup;

enum Column { Number, Material, Condition, Hardness, Kc1, Mc, Kc, Columns };

// The colours the trade marks the ISO classes with, on inserts and in catalogues.
QColor classColour(char isoClass)
{
    switch (isoClass) {
    case 'P':
        return QColor(0x00, 0x5c, 0xb9); // blue
    case 'M':
        return QColor(0xf5, 0xc4, 0x00); // yellow
    case 'K':
        return QColor(0xd4, 0x21, 0x1c); // red
    case 'N':
        return QColor(0x2e, 0x9e, 0x3c); // green
    case 'S':
        return QColor(0xf0, 0x83, 0x00); // orange
    default:
        return QColor(0x8c, 0x8c, 0x8c); // grey: H
    }
}

// Black or white, whichever reads on the colour.
QColor textOn(const QColor &colour)
{
    return colour.lightnessF() > 0.55 ? Qt::black : Qt::white;
}

// The icon engine caches every pixmap it draws in the application's pixmap cache, keyed by the
// pixmap: icons made anew for each dialog (the swatches, and the style's Ok and Cancel icons,
// which it loads again on every call) would leave a new set of entries behind at every opening.
// An icon made once under a fixed key of that cache is what every dialog draws.
QIcon keptIcon(const QString &key, const std::function<QPixmap()> &make)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = make();
        QPixmapCache::insert(key, pixmap);
    }
    return QIcon(pixmap);
}

QIcon swatch(const QColor &colour)
{
    return keptIcon(QStringLiteral("zorvik-material-swatch-") + colour.name(), [&colour] {
        QPixmap pixmap(12, 12);
        pixmap.fill(colour);
        QPainter(&pixmap).drawRect(0, 0, 11, 11);
        return pixmap;
    });
}

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr auto lastGroupKey = "materials/lastGroup";
constexpr auto lastToolKey = "materials/lastTool";

// The arrow keys typed into the filter move through the list, so a group can be found and
// chosen without leaving the filter.
class ListKeys : public QObject {
public:
    ListKeys(QTreeWidget *list, QObject *parent) : QObject(parent), m_list(list) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down &&
            key->key() != Qt::Key_PageUp && key->key() != Qt::Key_PageDown)
            return QObject::eventFilter(watched, event);
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                       key->count());
        QCoreApplication::sendEvent(m_list, &copy);
        return true;
    }

private:
    QTreeWidget *m_list;
};

} // namespace

MaterialDialog::MaterialDialog(const PageChipThickness &thickness, QWidget *parent)
    : QDialog(parent), m_thickness(thickness), m_filter(new QLineEdit(this)),
      m_groups(new QTreeWidget(this)), m_thicknessText(new QLabel(this)),
      m_atOneMillimetre(new QCheckBox(QStringLiteral("Use kc1 itself (h = 1 mm)"), this)),
      m_result(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("materialDialog"));
    setWindowTitle(QStringLiteral("Specific Cutting Force from Material"));

    auto *filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(m_filter);
    m_filter->setObjectName(QStringLiteral("materialFilter"));
    m_filter->setAccessibleName(QStringLiteral("Filter material groups"));
    m_filter->setPlaceholderText(
        QStringLiteral("Group number, ISO class, material, designation (C45, 304, GG25)…"));
    m_filter->installEventFilter(new ListKeys(m_groups, this));

    addGroups();
    showThickness();
    m_atOneMillimetre->setObjectName(QStringLiteral("atOneMillimetre"));
    m_atOneMillimetre->setVisible(!m_thickness.millimetres);
    m_result->setObjectName(QStringLiteral("materialResult"));
    m_result->setAccessibleName(QStringLiteral("Specific cutting force"));
    m_result->setTextFormat(Qt::PlainText);
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(this);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter);
    layout->addLayout(filterRow);
    layout->addWidget(m_groups, 1);
    layout->addWidget(m_thicknessText);
    layout->addWidget(m_atOneMillimetre);
    layout->addWidget(m_result);
    layout->addWidget(m_buttons);
    resize(780, 540);
    keepButtonIcons();

    connect(m_filter, &QLineEdit::textChanged, this, &MaterialDialog::filter);
    connect(m_groups, &QTreeWidget::currentItemChanged, this, &MaterialDialog::passClassRows);
    connect(m_groups, &QTreeWidget::itemActivated, this, [this] {
        if (m_buttons->button(QDialogButtonBox::Ok)->isEnabled())
            accept();
    });
    connect(m_atOneMillimetre, &QCheckBox::toggled, this, &MaterialDialog::showChoice);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &MaterialDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &MaterialDialog::reject);

    selectLastGroup();
    showChoice();
    m_filter->setFocus();
}

MaterialDialog::MaterialDialog(StartingLookup lookup, const QString &title, QWidget *parent)
    : MaterialDialog(PageChipThickness{}, parent)
{
    m_lookup = std::move(lookup);
    setObjectName(QStringLiteral("startingDialog"));
    setWindowTitle(title);
    m_groups->headerItem()->setText(Kc, QStringLiteral("Start"));
    m_thicknessText->hide();
    m_atOneMillimetre->hide();
    m_result->setAccessibleName(QStringLiteral("Starting value"));
    m_tool = new QComboBox(this);
    m_tool->setObjectName(QStringLiteral("toolMaterial"));
    m_tool->setAccessibleName(QStringLiteral("Tool material"));
    m_tool->addItem(QStringLiteral("HSS"), int(cuttingdata::Tool::hss));
    m_tool->addItem(QStringLiteral("Carbide"), int(cuttingdata::Tool::carbide));
    m_tool->setCurrentIndex(userSettings().value(QLatin1String(lastToolKey)).toInt() ==
                                    int(cuttingdata::Tool::carbide)
                                ? 1
                                : 0);
    auto *toolLabel = new QLabel(QStringLiteral("&Tool material:"), this);
    toolLabel->setBuddy(m_tool);
    auto *toolRow = new QHBoxLayout;
    toolRow->addWidget(toolLabel);
    toolRow->addWidget(m_tool, 1);
    static_cast<QVBoxLayout *>(layout())->insertLayout(1, toolRow);
    connect(m_tool, &QComboBox::currentIndexChanged, this, &MaterialDialog::showChoice);
    // Every group the table knows can be chosen: one without kc constants may have starting data.
    for (QTreeWidgetItemIterator at(m_groups); *at; ++at) {
        if ((*at)->childCount() == 0)
            (*at)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    selectLastGroup();
    showChoice();
}

// The groups in their ISO classes, each class a row of its colour that cannot be chosen.
void MaterialDialog::addGroups()
{
    m_groups->setObjectName(QStringLiteral("materialGroups"));
    m_groups->setAccessibleName(QStringLiteral("Material groups"));
    m_groups->setColumnCount(Columns);
    m_groups->setHeaderLabels({QStringLiteral("Group"), QStringLiteral("Material"),
                               QStringLiteral("Condition"), QStringLiteral("Hardness"),
                               QStringLiteral("kc1 (N/mm²)"), QStringLiteral("mc"),
                               QStringLiteral("kc (N/mm²)")});
    m_groups->setRootIsDecorated(false);
    m_groups->setItemsExpandable(false);
    m_groups->setAllColumnsShowFocus(true);
    // Groups of one material differ at the end of its name ("< 0.25 % C").
    m_groups->setTextElideMode(Qt::ElideMiddle);
    QTreeWidgetItem *classItem = nullptr;
    for (const MaterialGroup &group : materials::materialGroups()) {
        const QColor colour = classColour(group.isoClass);
        if (!classItem || classItem->data(Number, Qt::UserRole).toChar() != group.isoClass) {
            const QString name = QStringLiteral("%1: %2").arg(
                QChar(group.isoClass), qtext(materials::isoClassName(group.isoClass)));
            classItem = new QTreeWidgetItem(m_groups, {name});
            classItem->setData(Number, Qt::UserRole, QChar(group.isoClass));
            classItem->setFirstColumnSpanned(true);
            // Enabled, or Qt would disable its groups with it; not selectable.
            classItem->setFlags(Qt::ItemIsEnabled);
            for (int column = 0; column < Columns; ++column) {
                classItem->setBackground(column, colour);
                classItem->setForeground(column, textOn(colour));
            }
        }
        auto *item = new QTreeWidgetItem(
            classItem,
            {QString::number(group.number), qtext(group.material), qtext(group.condition),
             qtext(group.hardness),
             group.kc1 ? QString::fromStdString(numberToText(*group.kc1)) : QString(),
             group.mc ? QString::fromStdString(numberToText(*group.mc)) : QStringLiteral("–")});
        item->setData(Number, Qt::UserRole, group.number);
        m_groupItems.push_back({item, &group});
        item->setIcon(Number, swatch(colour));
        QStringList names;
        for (std::string_view name : materials::designations(group.number))
            names << qtext(name);
        item->setData(Material, Qt::UserRole, names.join(u' '));
        item->setToolTip(Material, names.isEmpty() ? item->text(Material)
                                                   : item->text(Material) + QStringLiteral("\n") +
                                                         names.join(QStringLiteral(", ")));
        if (!group.choosable()) {
            item->setFlags(Qt::NoItemFlags);
            item->setToolTip(Material, item->text(Material) +
                                           QStringLiteral(": no cutting-force constants are "
                                                          "published, so it cannot be chosen."));
        } else if (!group.mc) {
            item->setToolTip(Mc, QStringLiteral("No chip-thickness exponent is published for "
                                                "this group: kc is kc1 at any chip thickness."));
        }
    }
    m_groups->expandAll();
    // The whole dialog fits the 800 × 600 display the calculator runs on: the material names
    // give way, whole in their tooltips, to the numbers.
    m_groups->header()->setStretchLastSection(false);
    m_groups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_groups->header()->setSectionResizeMode(Material, QHeaderView::Stretch);

}

void MaterialDialog::showThickness()
{
    m_thicknessText->setObjectName(QStringLiteral("chipThickness"));
    m_thicknessText->setAccessibleName(QStringLiteral("Chip thickness"));
    m_thicknessText->setTextFormat(Qt::PlainText);
    m_thicknessText->setWordWrap(true);
    m_thicknessText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A thickness the page gives shows in a line, with how it was found in its tooltip.
    if (m_thickness.millimetres && m_thickness.summary != m_thickness.text)
        m_thicknessText->setToolTip(QString::fromStdString(m_thickness.text));
    m_thicknessText->setText(
        QString::fromStdString(m_thickness.millimetres ? m_thickness.summary : m_thickness.text));
}

// The standard buttons' icons are drawn once per process and size, not for every dialog.
void MaterialDialog::keepButtonIcons()
{
    for (QAbstractButton *button : m_buttons->buttons()) {
        const QIcon icon = button->icon();
        if (icon.isNull())
            continue;
        const QSize size = button->iconSize();
        const QString key = QStringLiteral("zorvik-material-button-%1-%2-%3")
                                .arg(m_buttons->standardButton(button))
                                .arg(size.width())
                                .arg(devicePixelRatioF());
        button->setIcon(keptIcon(key, [&] { return icon.pixmap(size, devicePixelRatioF()); }));
    }
}

void MaterialDialog::passClassRows(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{

    // The arrow keys pass over the class rows to the next group on their way.
    if (current && current->childCount() > 0) {
        const bool up = previous && !previous->isHidden() &&
                        m_groups->visualItemRect(previous).top() >
                            m_groups->visualItemRect(current).top();
        QTreeWidgetItem *next =
            up ? m_groups->itemAbove(current) : m_groups->itemBelow(current);
        m_groups->setCurrentItem(next ? next : m_groups->itemBelow(current));
        return;
    }
    showChoice();
}

// The group chosen last, in this dialog or the other, is where the list opens.
void MaterialDialog::selectLastGroup()
{
    const int last = userSettings().value(QLatin1String(lastGroupKey)).toInt();
    for (QTreeWidgetItemIterator at(m_groups, QTreeWidgetItemIterator::Selectable); *at; ++at) {
        if ((*at)->data(Number, Qt::UserRole).toInt() == last)
            m_groups->setCurrentItem(*at);
    }
}

std::optional<StartingValue> MaterialDialog::startFor(const MaterialGroup &group) const
{
    return m_lookup(group, *chosenTool());
}

std::optional<StartingValue> MaterialDialog::chosenStart() const
{
    const MaterialGroup *group = chosenGroup();
    if (!m_lookup || !group)
        return std::nullopt;
    std::optional<StartingValue> start = startFor(*group);
    if (!start || !start->text)
        return std::nullopt;
    return start;
}

std::optional<cuttingdata::Tool> MaterialDialog::chosenTool() const
{
    if (!m_tool)
        return std::nullopt;
    return cuttingdata::Tool(m_tool->currentData().toInt());
}

bool MaterialDialog::choosable() const
{
    return m_lookup ? chosenStart().has_value() : chosenForce().has_value();
}

const MaterialGroup *MaterialDialog::chosenGroup() const
{
    const QTreeWidgetItem *item = m_groups->currentItem();
    if (!item || item->isHidden() || !(item->flags() & Qt::ItemIsSelectable))
        return nullptr;
    for (const GroupItem &known : m_groupItems) {
        if (known.item == item)
            return known.group;
    }
    return nullptr;
}

std::string MaterialDialog::chosenDesignation() const
{
    const MaterialGroup *group = chosenGroup();
    if (!group)
        return {};
    const QString typed = m_filter->text();
    for (const QString &text : QStringList{typed} + typed.split(u' ', Qt::SkipEmptyParts)) {
        const std::string_view name = materials::designationNamed(*group, text.toStdString());
        if (!name.empty())
            return std::string(name);
    }
    return {};
}

bool MaterialDialog::atOneMillimetre() const
{
    return m_atOneMillimetre->isChecked();
}

std::optional<MaterialForce> MaterialDialog::chosenForce() const
{
    const MaterialGroup *group = chosenGroup();
    if (!group)
        return std::nullopt;
    MaterialForce force = materialForce(*group, m_thickness, m_atOneMillimetre->isChecked());
    if (!force.text)
        return std::nullopt;
    return force;
}

// Matching is by every word typed, in any order and case: "steel 55" finds the groups of
// steel with 0.55 % C and the hardened steels of 55 HRC.
void MaterialDialog::filter(const QString &text)
{
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    QTreeWidgetItem *first = nullptr;
    for (int c = 0; c < m_groups->topLevelItemCount(); ++c) {
        QTreeWidgetItem *classItem = m_groups->topLevelItem(c);
        bool anyShown = false;
        for (int g = 0; g < classItem->childCount(); ++g) {
            QTreeWidgetItem *item = classItem->child(g);
            QString all = classItem->text(Number);
            for (int column = Number; column <= Hardness; ++column)
                all += u' ' + item->text(column);
            all += u' ' + item->data(Material, Qt::UserRole).toString();
            const bool shown = std::all_of(words.cbegin(), words.cend(), [&](const QString &word) {
                return all.contains(word, Qt::CaseInsensitive);
            });
            item->setHidden(!shown);
            anyShown = anyShown || shown;
            if (shown && !first && (item->flags() & Qt::ItemIsSelectable))
                first = item;
        }
        classItem->setHidden(!anyShown);
    }
    const QTreeWidgetItem *current = m_groups->currentItem();
    if (!current || current->isHidden())
        m_groups->setCurrentItem(first);
    showChoice();
}

void MaterialDialog::showChoice()
{
    const bool atOne = m_atOneMillimetre->isChecked();
    for (const auto &[item, group] : m_groupItems) {
        if (!(item->flags() & Qt::ItemIsSelectable))
            continue;
        QString kc;
        if (m_lookup) {
            const std::optional<StartingValue> start = startFor(*group);
            kc = QString::fromStdString(start ? start->text.value_or("") : "");
        } else {
            kc =
                QString::fromStdString(materialForce(*group, m_thickness, atOne).text.value_or(""));
        }
        item->setText(Kc, kc);
        QStringList spoken{QStringLiteral("Group %1: %2")
                               .arg(group->number)
                               .arg(QString::fromStdString(materials::groupName(*group)))};
        if (!group->hardness.empty())
            spoken << qtext(group->hardness);
        spoken << QStringLiteral("kc1 %1").arg(item->text(Kc1));
        if (group->mc)
            spoken << QStringLiteral("mc %1").arg(item->text(Mc));
        if (!kc.isEmpty())
            spoken << (m_lookup ? QStringLiteral("start %1") : QStringLiteral("kc %1")).arg(kc);
        item->setData(Number, Qt::AccessibleTextRole, spoken.join(QStringLiteral(", ")));
    }

    const MaterialGroup *group = chosenGroup();
    QString result = QStringLiteral("Choose a material group.");
    if (group && m_lookup) {
        const std::optional<StartingValue> start = startFor(*group);
        result = start ? QString::fromStdString(start->explanation) : result;
    } else if (group) {
        const MaterialForce force = materialForce(*group, m_thickness, atOne);
        if (force.text || !group->choosable() || m_thickness.millimetres)
            result = QString::fromStdString(force.summary);
        else
            result = QStringLiteral("No kc without a chip thickness: type one on the page first, "
                                    "or use kc1 itself.");
    }
    m_result->setText(result);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(choosable());
}

void MaterialDialog::accept()
{
    const MaterialGroup *group = chosenGroup();
    if (!group || !choosable())
        return;
    QSettings store = userSettings();
    store.setValue(QLatin1String(lastGroupKey), group->number);
    if (m_tool)
        store.setValue(QLatin1String(lastToolKey), m_tool->currentData().toInt());
    keepSettings(store);
    QDialog::accept();
}

} // namespace zorvik::calculator
