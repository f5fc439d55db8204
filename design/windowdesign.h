// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/caption.h"
#include "solver/relationlist.h"

#include <string>
#include <vector>

namespace zorvik::design {

// Measures are twips, relative to the container the control sits in.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct FontDesign {
    const char *family = "Arial";
    double pointSize = 8;
    bool bold = false;
};

// What a field lets the user type; keys that type no character always pass.
enum class KeyFilter {
    Decimal, // digits, "." and Backspace
    Digits,  // digits and Backspace
    None,    // anything
};

enum class Action { Calculate, Reset, Import, Back, Cancel };

// How Reset compares a field's page tag with the page's own: as texts, or as the numbers they
// read as (so "1" and "1.0" match, and a tag that reads as no number matches nothing).
enum class TagMatch { Text, Number };

// One page of the window. The finishing page of a two-page window repeats the roughing
// page's frames, fields and buttons under the prefix.
struct PageDesign {
    const char *caption; // the tab caption; unused on single-page windows
    const char *prefix;  // "" on the roughing page, "f" on the finishing page
    const char *tag;     // the page tag Reset clears; "" when the window has none
};

struct FrameDesign {
    const char *name;           // on the roughing page
    const char *caption;        // "" for a frame without caption
    Box box;                    // in the tab control, or in the window on single-page windows
    const char *parent = "";    // the frame holding this one, "" for none
    const char *finishing = ""; // its name on the finishing page, "" for the prefix
};

// The New Project dialog's option that opens an operation's window. The dialog's tab order runs
// down each column of options, left to right.
struct OptionDesign {
    const char *name;
    const char *caption;
    Box box; // in the dialog's Select Operation frame, as is its family's frame
    // The frame of the dialog that gathers the operation with its kind (turning, milling...);
    // options of one family share it.
    const FrameDesign &family;
};

// A field's caption: the name a sentence calls the field by and the unit the window shows it
// in, shown as "Name (unit) :", or "Name :" without a unit.
struct CaptionDesign {
    const char *name;
    const char *unit = "";
    const char *label = ""; // the caption without its colon, where it is not "Name (unit)"
};

// Fields are 1215 by 375 twips; their caption is a label on the same row, 120 twips lower.
// Default texts are the operation's, not the design's.
struct FieldDesign {
    const char *name; // on the roughing page
    CaptionDesign caption;
    const char *frame;
    int captionLeft;
    int left;
    int top;
    bool tagged = true; // carries its page's tag
};

// Button labels are 1335 by 375 twips at top 240 in the page's button frame.
struct ButtonDesign {
    const char *name; // on the roughing page
    const char *caption;
    Action action;
    int left;
    const char *finishing = ""; // its name on the finishing page, "" for the prefix
};

// Moving the pointer over one of the surfaces (controls named here, "" for the window's own
// background) restores the normal colour of the listed button labels. Surfaces not listed,
// and everything inside them, restore nothing.
struct HoverRestore {
    std::vector<const char *> surfaces;
    std::vector<const char *> labels;
};

struct FieldFilter {
    const char *name; // the full name, so one page's field can differ from its twin
    KeyFilter filter;
};

// What a leave step sees of the page whose field lost the focus: its texts and which of its
// fields are enabled, both by the relation list's field ids. The step changes them in place and
// the window shows what changed.
struct PageState {
    FieldStore texts;
    std::vector<bool> enabled;
};

// Runs when one of the fields loses the focus it had, on that field's page. A field a step
// disables stays disabled until a step enables it or Reset clears its page.
struct LeaveStep {
    std::vector<const char *> fields; // on the roughing page; their twins run it on theirs
    void (*run)(PageState &page);
};

struct WindowDesign {
    const char *name;
    const char *caption;
    Box placement; // in the main window's work area
    std::vector<PageDesign> pages;
    const char *tabControl = ""; // with its box, when there are two pages
    Box tabBox = {};
    const char *buttonFrame;
    std::vector<FrameDesign> frames;
    std::vector<FieldDesign> fields; // in focus order; the first has the focus on opening
    std::vector<ButtonDesign> buttons;
    std::vector<FieldFilter> filters = {}; // every other field takes KeyFilter::Decimal
    std::vector<HoverRestore> hover;
    std::vector<LeaveStep> leaveSteps = {};
    TagMatch tagMatch = TagMatch::Text;
    // Every window shares these fonts unless its design says otherwise; the longest field
    // captions just fit their column at 7.5 points.
    FontDesign font = {"Arial", 7.5, false};                   // captions and fields
    FontDesign tabFont = {"Times New Roman", 12, true};        // tab captions
    FontDesign frameFont = {"Times New Roman", 9.75, true};    // frame captions
    FontDesign buttonFont = {"Times New Roman", 15.75, false}; // button label captions
};

// The caption as a label, without its colon: "Spindle Speed (R.P.M)".
inline std::string captionLabel(const CaptionDesign &caption)
{
    if (*caption.label)
        return caption.label;
    return *caption.unit ? std::string(caption.name) + " (" + caption.unit + ")" : caption.name;
}

// The caption as the window shows it: "Spindle Speed (R.P.M) :".
inline std::string shownCaption(const CaptionDesign &caption)
{
    return captionLabel(caption) + " :";
}

// Per field id of list, the caption the design shows for it on the roughing page, and its name;
// a field the design does not show is named by its name.
inline Captions fieldCaptions(const WindowDesign &design, const RelationList &list)
{
    Captions captions(list.fields.begin(), list.fields.end());
    captions.names.assign(list.fields.begin(), list.fields.end());
    for (const FieldDesign &field : design.fields) {
        const FieldId id = list.fieldId(field.name);
        if (id >= 0) {
            captions[static_cast<std::size_t>(id)] = captionLabel(field.caption);
            captions.names[static_cast<std::size_t>(id)] = field.caption.name;
        }
    }
    return captions;
}

} // namespace zorvik::design
