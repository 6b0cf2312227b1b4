// qelinspect: reads the files the exporter writes and prints them as text or
// JSON. One subcommand per kind of file.
#include <CLI/CLI.hpp>

#include "qelinspect/anm_command.h"
#include "qelinspect/bmp_command.h"
#include "qelinspect/dds_command.h"
#include "qelinspect/evlm_command.h"
#include "qelinspect/mesh_command.h"
#include "qelinspect/sdl_command.h"

int main(int argc, char** argv) {
    CLI::App app{
        "Prints the exporter's files as text or JSON and checks their structure.\n"
        "Exit codes: 0 the file is well formed, 1 it is malformed (the reason, and for a binary file\n"
        "its byte offset, on standard error), 2 the input cannot be read or the arguments are wrong."};
    app.require_subcommand(1);
    int exit_code = 0;
    qelinspect::AddSdlCommand(app, exit_code);
    qelinspect::AddDdsCommand(app, exit_code);
    qelinspect::AddBmpCommand(app, exit_code);
    qelinspect::AddEvlmCommand(app, exit_code);
    qelinspect::AddAnmCommand(app, exit_code);
    qelinspect::AddMeshCommand(app, exit_code);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help is a success; bad arguments exit with 2.
        return app.exit(e) == 0 ? 0 : 2;
    }
    return exit_code;
}
