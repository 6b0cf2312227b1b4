// The ".material" text of records, exactly, and the natural order of names.
#include <gtest/gtest.h>

#include "io/sdl_writer.h"
#include "io/stream_memory.h"
#include "materials/material_file.h"

// Each record names only the fields its case sets; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

std::string Text(const materials::MaterialList& list) {
    xIo::eMemoryStream memory(1024, 1024);
    xIo::xSdl::eWriter writer;
    writer.Open(&memory);
    materials::WriteMaterialRecords(writer, list);
    writer.Close();
    return std::string(memory.Data());
}

materials::MaterialRecord Named(const char* name) { return {.name = name, .shader = "simple", .blend = "none"}; }

TEST(NaturalOrder, DigitRunsCompareByValue) {
    struct Case {
        const char* a;
        const char* b;
        bool less;
    } cases[] = {
        {"wall9", "wall10", true},   {"wall10", "wall9", false}, {"a2b10", "a2b9", false},
        {"a", "a1", true},           {"a01", "a1", true},        {"a1", "a01", false},
        {"b", "a9", false},          {"9", "a", true},           {"x100000000000000000000", "x99999999999999999999", false},
        {"", "a", true},             {"same", "same", false},
    };
    for (const Case& c : cases) EXPECT_EQ(materials::NaturalLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

TEST(MaterialList, KeepsTheFirstRecordOfANameAndSortsNaturally) {
    materials::MaterialList list;
    EXPECT_TRUE(list.Add(Named("wall10")));
    EXPECT_TRUE(list.Add(Named("wall9")));
    EXPECT_FALSE(list.Add({.name = "wall9", .shader = "bump"}));
    EXPECT_TRUE(list.Add(Named("Wall9")));  // names compare exactly
    EXPECT_EQ(Text(list),
              "{simple \"Wall9\"\r\n\t{blend none}\r\n}\r\n"
              "{simple \"wall9\"\r\n\t{blend none}\r\n}\r\n"
              "{simple \"wall10\"\r\n\t{blend none}\r\n}\r\n");
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(Text(list), "");
}

TEST(MaterialFile, EntriesComeInTheirFixedOrder) {
    materials::MaterialList list;
    list.Add({.name = "all", .shader = "bump", .blend = "", .diffuse = "d", .diffuse1 = "d1", .bump = "b",
              .specular = "$/s", .mask = "m", .envmap = "e", .color = 0x80FF0001u, .modulate2x = true});
    // The envmap shader without a mask writes its amount; with a mask it does not.
    list.Add({.name = "chrome", .shader = "envmap", .blend = "add", .diffuse = "c", .envmap = "sky", .amount = 0.25f});
    list.Add({.name = "masked", .shader = "envmap", .blend = "add", .diffuse = "c", .mask = "m", .envmap = "sky",
              .amount = 0.25f});
    // Another shader never writes the amount, and without a specular entry no colour.
    list.Add({.name = "plain", .shader = "simple", .blend = "none", .amount = 0.5f, .color = 0x12345678u});
    EXPECT_EQ(Text(list),
              "{bump \"all\"\r\n"
              "\t{diffuse \"d\"}\r\n\t{diffuse1 \"d1\"}\r\n\t{bump \"b\"}\r\n\t{specular \"$/s\"}\r\n"
              "\t{color 0x80ff0001}\r\n\t{envmap \"e\"}\r\n\t{mask \"m\"}\r\n\t{blend }\r\n\t{modulate2x}\r\n}\r\n"
              "{envmap \"chrome\"\r\n\t{diffuse \"c\"}\r\n\t{envmap \"sky\"}\r\n\t{amount 0.25}\r\n\t{blend add}\r\n}\r\n"
              "{envmap \"masked\"\r\n\t{diffuse \"c\"}\r\n\t{envmap \"sky\"}\r\n\t{mask \"m\"}\r\n\t{blend add}\r\n}\r\n"
              "{simple \"plain\"\r\n\t{blend none}\r\n}\r\n");
}

}  // namespace
