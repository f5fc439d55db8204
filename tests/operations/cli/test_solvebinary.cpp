// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/workedexamples.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// With input, it is what the binary reads on its standard input.
BinaryRun runSolve(const std::vector<std::string> &args, const std::string *input = nullptr)
{
    std::string command = shellQuoted(ZORVIK_SOLVE);
    for (const std::string &arg : args)
        command += ' ' + shellQuoted(arg);
    // ctest runs the cases as processes side by side: each has a file of its own.
    std::string inputPath =
        testing::TempDir() + "solvebinary-input-" + std::to_string(getpid()) + ".csv";
    if (input) {
        std::ofstream(inputPath, std::ios::binary) << *input;
        command += " <" + shellQuoted(inputPath);
    }
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    int status = pclose(pipe);
    if (input)
        std::remove(inputPath.c_str());
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

class SolveBinaryCsv : public testing::TestWithParam<WorkedExample> {};

TEST_P(SolveBinaryCsv, PrintsEveryFieldOfTheWorkedExampleAsOneRowUnderTheHeader)
{
    const WorkedExample &example = GetParam();
    std::string input[2];
    for (const auto &[name, text] : example.typed) {
        input[0] += "," + std::string(name);
        input[1] += "," + std::string(text);
    }
    // The field lines of the one-page output, after the trace, become the header and the row.
    std::ifstream file(std::string(EXPECTED_DIR) + '/' + std::string(example.operation) +
                       ".expected");
    std::string expected[2];
    for (std::string line; std::getline(file, line);) {
        if (line.find(' ') != std::string::npos)
            continue;
        std::size_t equals = line.find('=');
        expected[0] += "," + line.substr(0, equals);
        expected[1] += "," + line.substr(equals + 1);
    }
    ASSERT_FALSE(expected[0].empty()) << example.operation;

    // Each part was built with a leading comma.
    std::string text = input[0].substr(1) + "\n" + input[1].substr(1) + "\n";
    BinaryRun run = runSolve({std::string(example.operation), "--csv"}, &text);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expected[0].substr(1) + "\n" + expected[1].substr(1) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Every, SolveBinaryCsv, testing::ValuesIn(workedExamples()), byOperation);

TEST(SolveBinaryCsv, AMalformedRowLeavesTheRowsBeforeItOnStdoutAndExitsOne)
{
    std::string text = "txtidiam\r\n1\r\n2\r\n\"3\r\n4\r\n";
    for (const char *jobs : {"1", "2"}) {
        BinaryRun run = runSolve({"face", "--csv", "-", "--jobs", jobs}, &text);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
        EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1, 2), "2,");
    }
}

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

INSTANTIATE_TEST_SUITE_P(
    Table, SolveBinaryField,
    testing::Values(FieldRow{"MillingObtuseContactAngle",
                             {"milling", "txtdiam=100", "txtdoc=80"},
                             "txtcangle=126.891273878089"},
                    // The hole diameter is found first, as on leaving a
                    // diameter in the window; the speed is the final one's.
                    FieldRow{"EnlargementSpindleSpeed",
                             {"drilling", "txtidiam=12", "txtfdiam=20", "txtcspeed=25"},
                             "txtrpm=397.727272727273"}),
    [](const testing::TestParamInfo<FieldRow> &info) { return std::string(info.param.name); });

} // namespace
