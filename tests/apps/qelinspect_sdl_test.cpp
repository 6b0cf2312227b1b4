#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "qelinspect/sdl_command.h"
#include "support/temp_dir.h"

namespace {

using qelinspect::RunSdl;
using qelinspect::SdlOptions;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Inspect(const SdlOptions& options) {
    std::ostringstream out, err;
    int code = RunSdl(options, out, err);
    return {code, out.str(), err.str()};
}

class InspectSdl : public ::testing::Test {
protected:
    std::string File(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
        qeltest::WriteFile(dir / name, text);
        return dir / name;
    }
    qeltest::TempDir dir;
};

TEST_F(InspectSdl, TreeOneBlockPerLine) {
    std::string mdl = File("res/Models/Tank.mdl",
                           "; header\r\n{model \"Tank \xD2\xE0\xED\xEA\"\r\n\t{size (\"w\" ) 0x1F}\r\n"
                           "\t{scale 2.5 1e-005 {deep}}\r\n\t(include \"part.sdl\" (n 2))\r\n\t{}\r\n}\r\n\"loose\" 7");
    File("res/Models/part.sdl", "(define \"w\" %n) (* \"w\" 4) {#lod part (\"w\")}");
    Result r = Inspect({mdl, {"/=" + dir / "res"}, {}, false});
    // The define is used before the include that defines it: an error.
    EXPECT_EQ(r.code, 1);
    File("res/Models/Tank.mdl",
         "(include \"part.sdl\" (n 2)){model \"Tank \xD2\xE0\xED\xEA\"\r\n\t{size (\"w\") 0x1F}\r\n"
         "\t{scale 2.5 1e-005 {deep}}\r\n\t{}\r\n}\r\n\"loose\" 7");
    r = Inspect({mdl, {"/=" + dir / "res"}, {}, false});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "#lod part 8\n"
              "model \"Tank Танк\"\n"
              "  size 8 31\n"
              "  scale 2.5 1e-005\n"
              "    deep\n"
              "  {}\n"
              "\"loose\"\n"
              "7\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(InspectSdl, JsonTokens) {
    std::string def = File("a.def", "{#x name \"q\\\"\xE9\" -4 0.5 (mod \"ai\" on)}");
    Result r = Inspect({def, {}, {"ai"}, true});
    ASSERT_EQ(r.code, 0) << r.err;
    nlohmann::json expected = nlohmann::json::parse(R"([
        {"type": "begin", "value": "{#x"}, {"type": "ident", "value": "name"},
        {"type": "string", "value": "q\"й"}, {"type": "int", "value": -4},
        {"type": "float", "value": 0.5}, {"type": "ident", "value": "on"},
        {"type": "end", "value": "}"}])");
    EXPECT_EQ(nlohmann::json::parse(r.out), expected);
    r = Inspect({def, {}, {}, true});
    EXPECT_EQ(nlohmann::json::parse(r.out).size(), 6u);  // without the module, "on" is skipped
}

TEST_F(InspectSdl, WarningsGoToStandardError) {
    std::string f = File("w.sdl", "(define \"d\" x) (\"d\" (extra 1))");
    Result r = Inspect({f, {}, {}, false});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "x\n");
    EXPECT_EQ(r.err.rfind("SDL: unused parameter(s) for parser \"d\" : extra(", 0), 0u) << r.err;
}

TEST_F(InspectSdl, MalformedInputGivesTheReportAndExitCode1) {
    std::string f = File("bad.mdl", "{a\n{b \"open\n}");
    Result r = Inspect({f, {}, {}, false});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, r.err.find(',')), "SDL: invalid token (io/sdl_reader");
    EXPECT_NE(r.err.find(f + ":\tline 2, token '\"open'\n"), std::string::npos) << r.err;

    r = Inspect({dir / "missing.mdl", {}, {}, false});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.substr(0, r.err.find(" (")), dir / "missing.mdl - open error!");

    EXPECT_EQ(Inspect({f, {"no-equals-sign"}, {}, false}).code, 2);
}

}  // namespace

namespace {

// The JSON array is written while the input is read: past the output buffer
// the text still forms one array with every token in order, and malformed
// input leaves it unclosed after the tokens before the fault.
TEST_F(InspectSdl, JsonStreamsTheTokens) {
    std::string text;
    constexpr int kBones = 20000;  // several output buffers
    for (int i = 0; i < kBones; ++i) text += "{bone \"b" + std::to_string(i) + "\" " + std::to_string(i) + " 0.5}\n";
    Result r = Inspect({File("big.mdl", text), {}, {}, true});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(r.out.back(), '\n');
    nlohmann::json tokens = nlohmann::json::parse(r.out);
    ASSERT_EQ(tokens.size(), 6u * kBones);  // begin, ident, string, int, float, end
    EXPECT_EQ(tokens[6 * 12345 + 2], nlohmann::json({{"type", "string"}, {"value", "b12345"}}));
    EXPECT_EQ(tokens[6 * 12345 + 3], nlohmann::json({{"type", "int"}, {"value", 12345}}));
    EXPECT_EQ(tokens.back(), nlohmann::json({{"type", "end"}, {"value", "}"}}));

    r = Inspect({File("bad.mdl", text + "{a \"open\n}"), {}, {}, true});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.substr(0, r.err.find(" (")), "SDL: invalid token");
    EXPECT_EQ(r.out.rfind("[{\"type\":\"begin\",\"value\":\"{\"},{\"type\":\"ident\",\"value\":\"bone\"},", 0), 0u);
    EXPECT_FALSE(nlohmann::json::accept(r.out));
}

}  // namespace
