// The pages the configuration window's logo and credit pictures open. They
// are this program's own documentation, shipped beside the exe: a name here
// is relative to the exe's folder, never to the working directory.
#pragma once

namespace sp {

// Every link opens the user guide.
constexpr const char* GUIDE_PAGE = "guide.html";

struct LinkPage {
    int controlId;
    const char* page;
};

constexpr LinkPage LINK_PAGES[] = {
    {29, GUIDE_PAGE}, // "TELVA"
    {30, GUIDE_PAGE}, // "SOLAX"
    {31, GUIDE_PAGE}, // "ZEB"
    {32, GUIDE_PAGE}, // "TEXT", the credit line
};

// The page of a link picture, or null for any other control.
inline const char* linkPageFor(int controlId) {
    for (const LinkPage& link : LINK_PAGES)
        if (link.controlId == controlId) return link.page;
    return nullptr;
}

} // namespace sp
