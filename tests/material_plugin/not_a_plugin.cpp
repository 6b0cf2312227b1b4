// A shared library without the host's entry points, for the loader's tests.
extern "C" int NotAPluginEntry() { return 42; }
