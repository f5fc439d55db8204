// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik::test {

// Field name -> text, in the order a user would type them.
using Texts = std::vector<std::pair<std::string_view, std::string_view>>;

// One operation's worked example: what is typed over the window's default texts, and what one
// Calculate then does. Field names are those of the first page.
struct WorkedExample {
    std::string_view operation; // as the operation table and zorvik-solve name it
    Texts typed;
    std::vector<std::string_view> trace; // every write of the solve: "PASS RULE NAME TEXT"
    Texts results = {}; // every field the solve writes, with its final text, by first write
};

namespace detail {

inline Texts finalTexts(const std::vector<std::string_view> &trace)
{
    Texts results;
    for (std::string_view write : trace) {
        std::size_t nameStart = write.find(' ', write.find(' ') + 1) + 1;
        std::size_t textStart = write.find(' ', nameStart) + 1;
        std::string_view name = write.substr(nameStart, textStart - 1 - nameStart);
        std::string_view text = write.substr(textStart);
        auto known = results.begin();
        while (known != results.end() && known->first != name)
            ++known;
        if (known == results.end())
            results.emplace_back(name, text);
        else
            known->second = text;
    }
    return results;
}

} // namespace detail

// clang-format off
inline const std::vector<WorkedExample> &workedExamples()
{
    static const std::vector<WorkedExample> examples = [] {
        // The face window takes the same texts: 50 and 40 as lengths, 100 as the radius.
        const Texts turningTyped{
            {"txtidiam", "50"}, {"txtfdiam", "40"}, {"txtlen", "100"}, {"txtangle", "90"},
            {"txtcspeed", "150"}, {"txtfeed", "0.2"}, {"txtspcf", "2000"}, {"txteeff", "0.9"},
            {"txtmeff", "0.8"}};
        const std::vector<std::string_view> turningTrace{
            "1 1a txtallowance 5", "1 4a txtdoc 5", "1 8b txtrpm 954.545454545455",
            "1 11a txtchip 1", "1 12a txtmrr 150000", "1 13b txtcf 2000", "1 14a txtcp 5000",
            "1 15a txteff 0.72", "1 16a txtmp 6944.44444444444", "1 19a txtct 0.199999960026674",
            "1 20a txtcw 5.00000099933336", "1 22a txtspcp 0.0333333333333333",
            "2 6a txtfrate 190.909090909091", "2 9a txtmtime 0.544761904761905"};
        std::vector<WorkedExample> all{
            {"longitudinal", turningTyped, turningTrace},
            // The whole 10 mm off the length in one cut, at 150 m/min on a 200 mm face.
            {"face", turningTyped,
             {"1 1a txtallowance 10", "1 4a txtdoc 10", "1 8b txtrpm 238.636363636364",
              "1 11a txtchip 2", "1 12a txtmrr 300000", "1 13b txtcf 4000", "1 14a txtcp 10000",
              "1 15a txteff 0.72", "1 16a txtmp 13888.8888888889",
              "1 19a txtct 0.199999960026674", "1 20a txtcw 10.0000019986667",
              "1 22a txtspcp 0.0333333333333333", "2 6a txtfrate 47.7272727272728",
              "2 9a txtmtime 2.17904761904762"}},
            // Spindle speed from the mean diameter 45, the included angle in degrees.
            {"taper",
             {{"txtdl", "50"}, {"txtds", "40"}, {"txttl", "100"}, {"txtwl", "200"},
              {"txtcspeed", "60"}, {"txtfeed", "0.2"}, {"txtchip", "0.4"}, {"txtcf", "800"},
              {"txtmeff", "0.9"}, {"txteeff", "0.8"}},
             {"1 4b txtrpm 424.242424242424", "1 8a txtmrr 24000", "1 10a txtcp 800",
              "1 11a txteff 0.72", "1 12a txtmp 1111.11111111111", "1 15a txtratio 0.1",
              "1 16a txtangle 5.72250714633163", "1 17a txtset 10",
              "2 2a txtfrate 84.8484848484848", "2 5a txtmtime 1.17857142857143"}},
            // The chip width is the inlet length: both come from half the point angle.
            {"drilling",
             {{"txtfdiam2", "10"}, {"txtrpm", "500"}},
             {"0 pre txtinlet 5.83171515906378", "1 1a txtcspeed 15.7142857142857",
              "1 11a txtdoc 5", "1 14a txtcw 5.83171515906378"}},
            // Torque in N.m: half of 100 mm times 636.36... N, over 1000.
            {"milling",
             {{"txtdiam", "100"}, {"txtcw", "20"}, {"txtih", "30"}, {"txtfh", "25"},
              {"txtnot", "10"}, {"txtrpm", "200"}, {"txtfpt", "0.1"}, {"txtspcf", "2000"},
              {"txtmeff", "0.9"}, {"txteeff", "0.8"}},
             {"1 1a txtcs 62.8571428571429", "1 3a txtf 1", "1 5a txtfr 200", "1 7a txtall 5",
              "1 16a txttangle 36", "1 21a txteff 0.72", "1 25 txtchw 20", "2 6a txtdoc 5",
              "2 9a txtcangle 25.831535584695", "2 10a txtmax 0.0435889894354067",
              "2 12a txtct 0.0223606797749979", "2 13a txtca 0.447213595499958",
              "2 14a txtmrr 20000", "2 15a txtnote 1", "3 11a txtmin 0.0159090909090909",
              "3 17a txtcf 636.363636363636", "3 18a txttorq 31.8181818181818",
              "3 19a txtcp 666.666666666667", "3 20a txtspcp 0.0333333333333333",
              "3 24a txtmp 925.925925925926"}},
            {"shaping",
             {{"txtrpm", "10"}, {"txtl", "300"}},
             {"1 3 txtcs 4.5", "1 6 txtrs 9", "1 7 txtms 6", "1 13 txtctime 0.0666666666666667",
              "1 17 txtrtime 0.0333333333333333", "1 21 txttime 0.1"}},
        };
        for (WorkedExample &example : all)
            example.results = detail::finalTexts(example.trace);
        return all;
    }();
    return examples;
}
// clang-format on

inline const WorkedExample &workedExample(std::string_view operation)
{
    for (const WorkedExample &example : workedExamples()) {
        if (example.operation == operation)
            return example;
    }
    throw std::invalid_argument("no worked example for " + std::string(operation));
}

// For test frameworks: an example shows, and names its test, by its operation.
inline void PrintTo(const WorkedExample &example, std::ostream *os)
{
    *os << example.operation;
}

inline constexpr auto byOperation = [](const auto &info) {
    return std::string(info.param.operation);
};

} // namespace zorvik::test
