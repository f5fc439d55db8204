// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/machine.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::job {

// Where a field's text came from, as the file names it for a reader.
enum class Origin { blank, typed, defaulted, result, outOfDate, material, imported };

// "blank", "typed", "default", "result", "out of date", "material", "imported".
std::string_view originName(Origin origin);
std::optional<Origin> originNamed(std::string_view name);

// A text a field's text was worked out from, as it read it then.
struct SourceText {
    std::string field; // by its name in the relation list ("txtcspeed")
    std::string text;
};

// One field of a page, with everything the window needs to show it again as it was: its look
// follows from its text and its sources, its explanation is kept as the page last gave it.
struct FieldRecord {
    std::string name; // "txtidiam", the same on either page
    std::string text;
    Origin origin = Origin::typed;
    bool changed = false;    // by the user since the window opened or the page was reset
    std::string written;     // the result a solve wrote or Import brought, "" for none
    std::string rule;        // that wrote it
    std::string explanation; // of the solve that explained it last
    std::string given;       // what the page said of a text the user gave since that solve
    std::string note;        // how a text entered or imported for the user got there
    std::vector<SourceText> sources;
    std::string staleSource; // the source that was already out of date when it was computed
    std::optional<std::string> solvedText; // as the last solve left it, when that differs
    bool notANumber = false;               // left by the user holding a text that is not a number
    std::vector<std::string> disagreements; // what it disagrees with, a line each
    bool locked = false;                   // closed for editing by another field's leave step
    bool originStated = false; // origin read from the file, not taken for a field stating none

    // Whether the field holds what a solve wrote or Import brought as a result.
    bool isResult() const { return !written.empty() && text == written; }
};

struct PageRecord {
    std::vector<FieldRecord> fields; // in the order of the relation list, every field
    bool explained = false;          // solved since it opened or was reset
    std::vector<std::string> edits;  // the fields edited since the last solve, first first
    // The work-material group the specific cutting force was taken from, and whether at a chip
    // thickness of 1 mm.
    std::optional<int> materialGroup;
    bool atOneMillimetre = false;
    // The group's designation the user named the material by ("C45"), when one was.
    std::optional<std::string> materialDesignation;
    // The group and tool material the starting cutting data was taken for, when it was.
    std::optional<int> startGroup;
    std::optional<std::string> tool; // "hss" or "carbide"

    const FieldRecord *field(std::string_view name) const;
};

struct WindowRecord {
    std::string operation; // the operation's name, as the command line knows it
    int shownPage = 0;     // 0 roughing, 1 finishing
    std::optional<Machine> machine;
    std::vector<PageRecord> pages; // as many as the operation's window has
};

struct Job {
    std::vector<WindowRecord> windows;
};

// The format this program writes, and the newest it reads.
constexpr int formatVersion = 1;
// Larger than any job of every window can be; a bigger file is refused unread.
constexpr std::size_t maxJobBytes = 10 * 1024 * 1024;

} // namespace zorvik::job
