#include "materials/material_file.h"

#include "materials/material_writer.h"
#include "scene/paths.h"

namespace materials {

namespace {

using xIo::xSdl::begin;
using xIo::xSdl::endl;
using xIo::xSdl::Ident;

void Entry(xIo::xSdl::eWriter& writer, const char* slot, const std::string& texture) {
    if (texture.empty()) return;
    writer << begin << Ident{slot} << texture << endl;
}

}  // namespace

void WriteMaterialRecord(xIo::xSdl::eWriter& writer, const MaterialRecord& record) {
    writer << begin << Ident{record.shader.c_str()} << record.name << xIo::xSdl::newline;
    Entry(writer, "diffuse", record.diffuse);
    Entry(writer, "diffuse1", record.diffuse1);
    Entry(writer, "bump", record.bump);
    if (!record.specular.empty()) {
        Entry(writer, "specular", record.specular);
        writer << begin << Ident{"color"} << xIo::xSdl::hex << record.color << endl;
    }
    Entry(writer, "envmap", record.envmap);
    if (!record.mask.empty()) Entry(writer, "mask", record.mask);
    else if (record.shader == "envmap") writer << begin << Ident{"amount"} << record.amount << endl;
    writer << begin << Ident{"blend"} << Ident{record.blend.c_str()} << endl;
    if (record.modulate2x) writer << begin << Ident{"modulate2x"} << endl;
    writer << endl;
}

void WriteMaterialRecords(xIo::xSdl::eWriter& writer, const MaterialList& list) {
    for (const MaterialRecord& record : list.Sorted()) WriteMaterialRecord(writer, record);
}

void WriteMaterialFile(const std::string& dir, const MaterialList& list) {
    if (list.Empty()) return;
    xIo::xSdl::eWriter writer;
    writer.Open(scene::JoinPath(dir, ".material"));
    WriteMaterialRecords(writer, list);
    writer.Close();
}

}  // namespace materials
