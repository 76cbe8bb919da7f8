// clipboard-reader TARGET: prints the CLIPBOARD selection of the X display in
// TARGET (TARGETS: the offered targets' names, one a line), as GTK's clipboard
// reads it. GTK is an X client of its own (with its own INCR reader), so what
// it prints is what any desktop program would paste. GTK's run-time library is
// loaded by name: its development headers are not needed. Exits with 1 when
// the selection could not be read in that target, 2 without GTK or display.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

namespace {
using Atom = void*;
template <typename F>
F symbol(void* library, const char* name)
{
    return reinterpret_cast<F>(dlsym(library, name));
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: clipboard-reader TARGET\n");
        return 2;
    }
    void* gtk = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!gtk) {
        std::fprintf(stderr, "no GTK: %s\n", dlerror());
        return 2;
    }
    const auto initCheck = symbol<int (*)(int*, char***)>(gtk, "gtk_init_check");
    const auto intern = symbol<Atom (*)(const char*, int)>(gtk, "gdk_atom_intern");
    const auto atomName = symbol<char* (*)(Atom)>(gtk, "gdk_atom_name");
    const auto clipboardGet = symbol<void* (*)(Atom)>(gtk, "gtk_clipboard_get");
    const auto waitForContents = symbol<void* (*)(void*, Atom)>(gtk, "gtk_clipboard_wait_for_contents");
    const auto dataOf = symbol<const unsigned char* (*)(void*)>(gtk, "gtk_selection_data_get_data");
    const auto lengthOf = symbol<int (*)(void*)>(gtk, "gtk_selection_data_get_length");
    const auto targetsOf = symbol<int (*)(void*, Atom**, int*)>(gtk, "gtk_selection_data_get_targets");
    const auto freeData = symbol<void (*)(void*)>(gtk, "gtk_selection_data_free");
    const auto gfree = symbol<void (*)(void*)>(gtk, "g_free");
    if (!initCheck || !intern || !atomName || !clipboardGet || !waitForContents || !dataOf || !lengthOf ||
        !targetsOf || !freeData || !gfree || !initCheck(&argc, &argv))
        return 2;

    void* clipboard = clipboardGet(intern("CLIPBOARD", 0));
    void* data = waitForContents(clipboard, intern(argv[1], 0));
    if (!data)
        return 1;
    int status = 0;
    if (std::strcmp(argv[1], "TARGETS") == 0) {
        Atom* atoms = nullptr;
        int count = 0;
        if (targetsOf(data, &atoms, &count)) {
            for (int i = 0; i < count; ++i) {
                char* name = atomName(atoms[i]);
                std::printf("%s\n", name);
                gfree(name);
            }
            gfree(atoms);
        } else {
            status = 1;
        }
    } else if (lengthOf(data) >= 0) {
        std::fwrite(dataOf(data), 1, size_t(lengthOf(data)), stdout);
    } else {
        status = 1;
    }
    freeData(data);
    return status;
}
