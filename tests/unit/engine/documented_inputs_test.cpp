// The input reference and the worked examples cannot drift from the engine:
// every complete input in docs/input-format.md and in examples/ is run and
// must end as its text says, and every template is the example it names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"
#include "templates.hpp"

namespace trevasc::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = fs::path(TREVASC_TEST_CASES_DIR) / ".." / "..";

struct DocumentedInput {
    std::string where;
    std::string text;
    std::int32_t code;  // the result code the document states
};

// "ends normally" is 0; "ends with input error N" is 100 + N, "runtime error N" 200 + N.
std::int32_t CodeOf(const std::string& ending) {
    std::smatch m;
    if (ending == "ends normally") return 0;
    if (std::regex_match(ending, m, std::regex(R"(ends with (input|runtime) error (\d+))"))) {
        return (m[1] == "input" ? 100 : 200) + std::stoi(m[2]);
    }
    ADD_FAILURE() << "unknown ending: " << ending;
    return -1;
}

// Complete inputs of the reference: a fenced block right after a marker
// "<!-- input: ends ... -->".
std::vector<DocumentedInput> ReferenceInputs() {
    const std::string doc = ReadFile(kSourceRoot / "docs" / "input-format.md");
    const std::regex block(R"(<!-- input: ([a-z0-9 ]+) -->\n```[a-z]*\n([\s\S]*?)```)");
    std::vector<DocumentedInput> inputs;
    int k = 0;
    for (auto it = std::sregex_iterator(doc.begin(), doc.end(), block); it != std::sregex_iterator(); ++it) {
        inputs.push_back({"docs/input-format.md, input " + std::to_string(++k), (*it)[2], CodeOf((*it)[1])});
    }
    return inputs;
}

// Every examples/*/*.trv; its README states "result code N" for all inputs
// of the folder.
std::vector<DocumentedInput> ExampleInputs() {
    std::vector<DocumentedInput> inputs;
    for (const fs::directory_entry& folder : fs::directory_iterator(kSourceRoot / "examples")) {
        if (!folder.is_directory()) continue;
        // Folders of scripts (the Python example) hold no input of their own.
        bool has_input = false;
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path())) {
            has_input = has_input || file.path().extension() == ".trv";
        }
        if (!has_input) continue;
        const std::string readme = ReadFile(folder.path() / "README.md");
        std::smatch m;
        const bool stated = std::regex_search(readme, m, std::regex(R"(result code (-?\d+))"));
        EXPECT_TRUE(stated) << folder.path() << " has no README stating its result code";
        for (const fs::directory_entry& file : fs::directory_iterator(folder.path())) {
            if (file.path().extension() != ".trv") continue;
            inputs.push_back({"examples/" + folder.path().filename().string() + "/" + file.path().filename().string(),
                              ReadFile(file.path()), stated ? std::stoi(m[1]) : 0});
        }
    }
    return inputs;
}

TEST(DocumentedInputs, ReferenceInputsEndAsTheReferenceSays) {
    const std::vector<DocumentedInput> inputs = ReferenceInputs();
    ASSERT_GE(inputs.size(), 3U);
    for (const DocumentedInput& input : inputs) {
        SCOPED_TRACE(input.where);
        const RunOutput out = RunInput(input.text);
        EXPECT_EQ(out.code, input.code) << out.messages;
    }
}

TEST(DocumentedInputs, ExamplesEndAsTheirReadmesSay) {
    const std::vector<DocumentedInput> inputs = ExampleInputs();
    ASSERT_GE(inputs.size(), 7U);
    for (const DocumentedInput& input : inputs) {
        SCOPED_TRACE(input.where);
        const RunOutput out = RunInput(input.text);
        EXPECT_EQ(out.code, input.code) << out.messages;
    }
}

TEST(DocumentedInputs, EveryTemplateIsTheExampleItNames) {
    for (const host::TemplateKind& kind : host::TemplateKinds()) {
        SCOPED_TRACE(std::string(kind.kind) + " " + std::string(kind.units));
        const auto text = host::TemplateText(kind.kind, kind.units);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(std::string(*text), ReadFile(kSourceRoot / "examples" / std::string(kind.example)));
        EXPECT_NE(text->find(kind.units == "SI" ? "Units SI" : "Units USCS"), std::string_view::npos);
    }
    EXPECT_FALSE(host::TemplateText("drilled-shaft", "GENERAL").has_value());
    EXPECT_FALSE(host::TemplateText("caisson", "SI").has_value());
}

}  // namespace
}  // namespace trevasc::testing
