// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes through the job reader: it either refuses them with one line naming the file,
// or reads a job that, written and read again, gives the same bytes, and whose pages a page model
// either opens or finds a field of that contradicts its stated origin.
#include "job/jobformat.h"
#include "page/pagemodel.h"
#include "wording/wording.h"

#include <cstdint>
#include <string_view>

using namespace zorvik;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const job::JobRead read = job::readJob(bytes, "fuzz.zorvik");
    if (read.error) {
        const std::string error = wording(*read.error);
        check(error.rfind("'fuzz.zorvik': ", 0) == 0);
        check(error.find('\n') == std::string::npos);
        check(read.job.windows.empty());
        return 0;
    }
    const std::string written = job::writeJob(read.job);
    const job::JobRead again = job::readJob(written, "again.zorvik");
    check(!again.error);
    check(job::writeJob(again.job) == written);
    if (const std::optional<job::JobError> contradiction = jobContradiction(read.job))
        check(wording(*contradiction).find(contradiction->place.field) != std::string::npos);
    return 0;
}
