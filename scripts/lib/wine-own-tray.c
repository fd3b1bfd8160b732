/* Preloaded into Wine by scripts/play (see quor6_own_tray in player-prefix.sh) so that Wine
 * keeps the five icons in its own "Wine System Tray" window, left to right in the order they
 * are added, instead of docking them into the desktop's freedesktop (XEmbed) tray, where each
 * tray orders them its own way (trayer, for one, puts every new icon left of the others).
 *
 * Wine 8 docks whenever the selection _NET_SYSTEM_TRAY_S<screen> has an owner and offers no
 * setting against it. Wine looks the selection up through the atoms it interns by that name,
 * so the name is changed on the way in to one that no tray owns: Wine then sees no tray, both
 * at start and when a tray appears later, and nothing else of Wine's X traffic is touched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

/* The Xlib types involved, spelled out so that no X development headers are needed. */
typedef unsigned long Atom;
typedef struct _XDisplay Display;
typedef int Bool;
typedef int Status;

enum { kLongestAtomName = 64 };

static const char kTrayPrefix[] = "_NET_SYSTEM_TRAY_S";
static const char kUnownedPrefix[] = "_QUOR6_UNOWNED_TRAY_S";

/* The name to intern instead of `name`: the tray selection of a screen becomes one nobody owns;
 * other names (_NET_SYSTEM_TRAY_OPCODE and _VISUAL among them) pass unchanged. */
static const char* unowned(const char* name, char* buffer) {
    const size_t prefix = sizeof kTrayPrefix - 1;
    if (name == NULL || strncmp(name, kTrayPrefix, prefix) != 0) {
        return name;
    }
    snprintf(buffer, kLongestAtomName, "%s%s", kUnownedPrefix, name + prefix);
    return buffer;
}

Atom XInternAtom(Display* display, const char* name, Bool only_if_exists) {
    typedef Atom (*Real)(Display*, const char*, Bool);
    const Real real = (Real)dlsym(RTLD_NEXT, "XInternAtom");
    char buffer[kLongestAtomName];
    return real(display, unowned(name, buffer), only_if_exists);
}

Status XInternAtoms(Display* display, char** names, int count, Bool only_if_exists, Atom* atoms) {
    typedef Status (*Real)(Display*, char**, int, Bool, Atom*);
    const Real real = (Real)dlsym(RTLD_NEXT, "XInternAtoms");
    if (count <= 0) {
        return real(display, names, count, only_if_exists, atoms);
    }
    char buffers[count][kLongestAtomName];
    char* renamed[count];
    for (int i = 0; i < count; ++i) {
        renamed[i] = (char*)unowned(names[i], buffers[i]);
    }
    return real(display, renamed, count, only_if_exists, atoms);
}
