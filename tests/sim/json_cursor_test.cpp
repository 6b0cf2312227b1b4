#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include "sim/json_cursor.h"

namespace {

// The whole text as a tree, read in chunks of chunk_size bytes.
sim::Json ReadAll(std::string_view text, size_t chunk_size = sim::JsonCursor::kChunkSize) {
    sim::TextSource source(text);
    sim::JsonCursor cursor(source, chunk_size);
    sim::Json json = cursor.ReadJson();
    cursor.ExpectEnd();
    return json;
}

sim::LoadError ErrorOf(std::string_view text, size_t chunk_size = sim::JsonCursor::kChunkSize) {
    try {
        ReadAll(text, chunk_size);
    } catch (const sim::LoadError& error) {
        return error;
    }
    ADD_FAILURE() << "read: " << text;
    return sim::LoadError("", "");
}

TEST(JsonCursorTest, MalformedTextNamesLineColumnAndWhat) {
    struct Case {
        const char* text;
        const char* where;
        const char* what;
    } cases[] = {
        {"", "line 1, column 1", "unexpected end of input"},
        {"{\n  \"a\": tru }", "line 2, column 8", "invalid literal"},
        {"{\"a\": 01}", "line 1, column 7", "invalid number"},
        {"{\"a\": 1.}", "line 1, column 7", "invalid number"},
        {"{\"a\": 1e+}", "line 1, column 7", "invalid number"},
        {"{\"a\": -}", "line 1, column 7", "invalid number"},
        {"{\"a\": .5}", "line 1, column 7", "unexpected '.'"},
        {"{\"a\": +1}", "line 1, column 7", "unexpected '+'"},
        {"{\"a\": NaN}", "line 1, column 7", "unexpected 'N'"},
        {"{\"a\": 1 2}", "line 1, column 9", "expected ',' or '}'"},
        {"{\"a\": [1,]}", "line 1, column 10", "unexpected ']'"},
        {"{\"a\" 1}", "line 1, column 6", "expected ':'"},
        {"{\"a\": 1,}", "line 1, column 9", "expected a key"},
        {"{'a': 1}", "line 1, column 2", "expected a key"},
        {"[\"x\ny\"]", "line 1, column 4", "control character byte 0x0A"},
        {"[\"\\q\"]", "line 1, column 3", "invalid escape \\q"},
        {"[\"\\u12G4\"]", "line 1, column 3", "four hex digits"},
        {"[\"\\ud800\"]", "line 1, column 3", "without a low one"},
        {"[\"\\udc00\"]", "line 1, column 3", "without a high one"},
        {"[\"\xC3\x28\"]", "line 1, column 3", "invalid UTF-8"},
        {"[\"\xED\xA0\x80\"]", "line 1, column 3", "invalid UTF-8"},  // an encoded surrogate
        {"[\"\xC0\xAF\"]", "line 1, column 3", "invalid UTF-8"},      // an overlong '/'
        {"[\"abc", "line 1, column 6", "end of input in a string"},
        {"{\"a\": 1}\n}", "line 2, column 1", "after the end of the document"},
        {"\n\n  [1, 2", "line 3, column 8", "unexpected end of input"},
    };
    for (const Case& c : cases) {
        for (size_t chunk_size : {size_t(16), sim::JsonCursor::kChunkSize}) {
            const sim::LoadError error = ErrorOf(c.text, chunk_size);
            EXPECT_EQ(error.Pointer(), "") << c.text;
            EXPECT_NE(error.Reason().find(std::string("malformed JSON: ") + c.where + ": "), std::string::npos)
                << c.text << " -> " << error.Reason();
            EXPECT_NE(error.Reason().find(c.what), std::string::npos) << c.text << " -> " << error.Reason();
        }
    }
}

TEST(JsonCursorTest, RepeatedKeysDeepNestingAndOverflowNameTheirPointer) {
    std::string many_keys = "{\"t\": {";
    for (int i = 0; i < 40; ++i) many_keys += "\"k" + std::to_string(i) + "\": " + std::to_string(i) + ", ";
    many_keys += "\"k7\": 0}}";
    std::string deep = "{\"a\": ";
    deep.append(300, '[');
    std::string long_number = "[";
    long_number.append(400, '9').append("]");
    struct Case {
        std::string text;
        const char* pointer;
        const char* reason_part;
    } cases[] = {
        {R"({"a": [{"b": 1, "c": {}, "b": 2}]})", "/a/0/b", "duplicate key"},
        {many_keys, "/t/k7", "duplicate key"},
        {R"({"a~b/c": 1, "a~b/c": 2})", "/a~0b~1c", "duplicate key"},
        {deep, "/a/0/0/0", "nesting is too deep"},  // the 257th level, counted from the document
        {R"({"a": [0, 1e400]})", "/a/1", "number overflow: 1e400 does not fit a double"},
        {R"({"a": [-1.7976931348623159e308]})", "/a/0", "number overflow"},
        {long_number, "/0", "number overflow: 999999999"},
    };
    for (const Case& c : cases) {
        const sim::LoadError error = ErrorOf(c.text);
        if (std::string(c.reason_part) == "nesting is too deep") {
            EXPECT_EQ(error.Pointer().substr(0, 8), c.pointer) << error.what();
            EXPECT_EQ(std::count(error.Pointer().begin(), error.Pointer().end(), '/'), 256) << error.what();
        } else {
            EXPECT_EQ(error.Pointer(), c.pointer) << c.text;
        }
        EXPECT_NE(error.Reason().find(c.reason_part), std::string::npos) << error.Reason();
    }
}

TEST(JsonCursorTest, ValuesAreTheSameInEveryChunkSize) {
    // Escapes, characters of every UTF-8 length, a string longer than any
    // small chunk, and numbers of every form.
    const std::string text = "\xEF\xBB\xBF{\"s\": [\"a\\\"b\\\\c\\/d\\b\\f\\n\\r\\t\", \"\\u00e9\\u0416\\ud83d\\ude00\", \"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\", \"" +
                             std::string(300, 'x') + "\", \"\\u0000\"],\n \"n\": [0, -0, -0.0, 1.5, -1e-3, 2E+3, 1e-400, 5e-324, 1.7976931348623157e308, "
                             "123456789012345678901234567890, 0.1, 3.141592653589793238462643383279],\n"
                             " \"l\": [true, false, null, {}, [], {\"\": 1}]}  \n";
    const sim::Json whole = ReadAll(text);
    for (size_t chunk_size = 16; chunk_size < 80; ++chunk_size) EXPECT_EQ(ReadAll(text, chunk_size), whole) << chunk_size;
    EXPECT_EQ(whole["s"][1].get<std::string>(), "\xC3\xA9\xD0\x96\xF0\x9F\x98\x80");
    EXPECT_EQ(whole["s"][0].get<std::string>(), "a\"b\\c/d\b\f\n\r\t");
    EXPECT_EQ(whole["s"][4].get<std::string>(), std::string(1, '\0'));
    const sim::Json& n = whole["n"];
    EXPECT_FALSE(std::signbit(n[1].get<double>()));  // -0 is a whole number: 0
    EXPECT_TRUE(std::signbit(n[2].get<double>()));
    EXPECT_EQ(n[6].get<double>(), 0.0);  // below the smallest double
    EXPECT_EQ(n[7].get<double>(), 5e-324);
    EXPECT_EQ(n[9].get<double>(), 1.2345678901234568e29);
}

TEST(JsonCursorTest, NumbersAreRoundedAsStrtodRoundsThem) {
    // The fast path and from_chars against the C library, on numbers written
    // every way a scene exporter might write them.
    std::mt19937_64 random(7);
    std::string text = "[";
    std::vector<std::string> numbers;
    for (int i = 0; i < 20000; ++i) {
        const int digits = int(random() % 20) + 1;
        std::string number = random() % 2 ? "-" : "";
        std::string mantissa = std::to_string(random() % 9 + 1);
        for (int d = 1; d < digits; ++d) mantissa += char('0' + random() % 10);
        const size_t point = random() % (mantissa.size() + 1);
        if (point == 0) {
            number.append("0.").append(random() % 5, '0').append(mantissa);
        } else {
            number.append(mantissa, 0, point);
            if (point < mantissa.size()) number.append(".").append(mantissa, point);
        }
        if (random() % 4 == 0) number.append("e").append(std::to_string(int(random() % 60) - 30));
        numbers.push_back(number);
        if (i) text += ',';
        text += number;
    }
    text += "]";
    const sim::Json read = ReadAll(text);
    for (size_t i = 0; i < numbers.size(); ++i) {
        const double expected = std::strtod(numbers[i].c_str(), nullptr);
        EXPECT_EQ(read[i].get<double>(), expected) << numbers[i];
    }
}

TEST(JsonCursorTest, TryReadNumbersTakesOnlyTheExactShapeAndGivesBackTheRest) {
    const char* text = R"([[1, 2.5, -3], [1, 2], [1, 2, 3, 4], [1, "x", 3], 7, [1e400, 0, 0], [ 4 , 5 , 6 ]])";
    sim::TextSource source(text);
    sim::JsonCursor cursor(source, 16);
    cursor.BeginArray();
    std::vector<std::string> shapes;
    while (cursor.NextElement()) {
        double v[3] = {0, 0, 0};
        if (cursor.TryReadNumbers(v, 3)) {
            shapes.push_back(std::to_string(v[0]) + " " + std::to_string(v[1]) + " " + std::to_string(v[2]));
            continue;
        }
        try {
            shapes.push_back(cursor.Pointer() + " " + cursor.ReadJson().dump());
        } catch (const sim::LoadError& error) {
            shapes.push_back(error.what());
            break;
        }
    }
    EXPECT_EQ(shapes, (std::vector<std::string>{"1.000000 2.500000 -3.000000", "/1 [1.0,2.0]", "/2 [1.0,2.0,3.0,4.0]",
                                                "/3 [1.0,\"x\",3.0]", "/4 7.0",
                                                "/5/0: number overflow: 1e400 does not fit a double"}));
}

}  // namespace
