// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/workedexamples.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace zorvik::test;

namespace {

struct BinaryRun {
    int status;
    std::string out;
};

std::string shellQuoted(std::string_view word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

BinaryRun runSolve(const std::vector<std::string> &args)
{
    std::string command = shellQuoted(ZORVIK_SOLVE);
    for (const std::string &arg : args)
        command += ' ' + shellQuoted(arg);
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::vector<std::string> typedArguments(const Texts &typed)
{
    std::vector<std::string> args;
    for (const auto &[name, text] : typed)
        args.push_back(std::string(name) + '=' + std::string(text));
    return args;
}

class SolveBinary : public testing::TestWithParam<WorkedExample> {};

TEST_P(SolveBinary, PrintsTheWorkedExampleTraceAndFieldsAsExpected)
{
    const WorkedExample &example = GetParam();
    std::vector<std::string> args{std::string(example.operation), "--trace"};
    for (const std::string &arg : typedArguments(example.typed))
        args.push_back(arg);
    std::ifstream file(std::string(EXPECTED_DIR) + '/' + std::string(example.operation) +
                       ".expected");
    ASSERT_TRUE(file) << example.operation;
    std::ostringstream expected;
    expected << file.rdbuf();

    BinaryRun run = runSolve(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected.str());
}

INSTANTIATE_TEST_SUITE_P(Every, SolveBinary, testing::ValuesIn(workedExamples()), byOperation);

struct FieldRow {
    const char *name;
    std::vector<std::string> args;
    std::string line; // one of the NAME=TEXT lines the solve must print
};

void PrintTo(const FieldRow &row, std::ostream *os)
{
    *os << row.name;
}

class SolveBinaryField : public testing::TestWithParam<FieldRow> {};

TEST_P(SolveBinaryField, PrintsThisFieldText)
{
    BinaryRun run = runSolve(GetParam().args);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(("\n" + run.out).find("\n" + GetParam().line + "\n"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Table, SolveBinaryField,
                         testing::Values(FieldRow{"MillingObtuseContactAngle",
                                                  {"milling", "txtdiam=100", "txtdoc=80"},
                                                  "txtcangle=126.891273878089"}),
                         [](const testing::TestParamInfo<FieldRow> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
