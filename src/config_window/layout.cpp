// The configuration window's layout.
#include "config_window/layout.h"

namespace sp {

namespace {
using K = ControlKind;
using F = ControlFont;
} // namespace

Rect configWindowRect(Size screen, int dpi) {
    const int width = scaleToDpi(CONFIG_WIDTH, dpi);
    const int height = scaleToDpi(CONFIG_HEIGHT, dpi);
    return {(screen.width - width) / 2, (screen.height - height) / 2, width, height};
}

Rect controlRect(const ControlRow& row, int dpi) {
    return scaleToDpi(Rect{row.x, row.y, row.width, row.height}, dpi);
}

// clang-format off
const ControlRow CONFIG_CONTROLS[] = {
    {3,  K::Group,   "config.clicks",      nullptr,         5,   5,   185, 215, F::Bold},
    {41, K::Icon,    "",                   "CLIC_ESQUERRA", 10,  35,  45,  45,  F::None},
    {21, K::Label,   "config.left",        nullptr,         55,  55,  90,  20,  F::Bold},
    {9,  K::Toggle,  "",                   nullptr,         152, 47,  25,  25,  F::None},
    {42, K::Icon,    "",                   "DOBLE_CLIC",    10,  70,  45,  45,  F::None},
    {22, K::Label,   "config.double",      nullptr,         55,  90,  90,  20,  F::Bold},
    {10, K::Toggle,  "",                   nullptr,         152, 82,  25,  25,  F::None},
    {43, K::Icon,    "",                   "CLIC_DRETA",    10,  105, 45,  45,  F::None},
    {23, K::Label,   "config.right",       nullptr,         55,  125, 90,  20,  F::Bold},
    {11, K::Toggle,  "",                   nullptr,         152, 117, 25,  25,  F::None},
    {44, K::Icon,    "",                   "MIDDEL_CLIC",   10,  140, 45,  45,  F::None},
    {24, K::Label,   "config.middle",      nullptr,         55,  160, 90,  20,  F::Bold},
    {12, K::Toggle,  "",                   nullptr,         152, 152, 25,  25,  F::None},
    {45, K::Icon,    "",                   "ARRASTRA",      10,  175, 45,  45,  F::None},
    {25, K::Label,   "config.drag",        nullptr,         55,  195, 90,  20,  F::Bold},
    {13, K::Toggle,  "",                   nullptr,         152, 187, 25,  25,  F::None},
    {4,  K::Group,   "config.movement",    nullptr,         205, 5,   424, 100, F::Bold},
    {46, K::Picture, "",                   "MOVCUR",        240, 40,  45,  45,  F::None},
    {27, K::Label,   "config.slow",        nullptr,         315, 50,  50,  20,  F::Light},
    {28, K::Label,   "config.fast",        nullptr,         570, 50,  50,  20,  F::Light},
    {54, K::Slider,  "Trackbar Control",   nullptr,         370, 50,  200, 30,  F::None},
    {5,  K::Group,   "config.frequency",   nullptr,         205, 120, 424, 100, F::Bold},
    {47, K::Picture, "",                   "MOV_SEQ",       210, 150, 100, 58,  F::None},
    {34, K::Label,   "config.slow",        nullptr,         315, 165, 50,  20,  F::Light},
    {35, K::Label,   "config.fast",        nullptr,         570, 165, 50,  20,  F::Light},
    {55, K::Slider,  "",                   nullptr,         370, 165, 200, 30,  F::None},
    {6,  K::Group,   "config.cursor",      nullptr,         5,   230, 420, 175, F::Bold},
    {48, K::Picture, "",                   "CURSOR",        10,  260, 50,  50,  F::None},
    {37, K::Text,    "config.colour",      nullptr,         80,  245, 220, 20,  F::Underlined},
    {2,  K::Swatch,  "",                   nullptr,         81,  270, 40,  40,  F::None},
    {36, K::Text,    "config.opacity",     nullptr,         140, 280, 100, 20,  F::Light},
    {56, K::Slider,  "Trackbar Control",   nullptr,         205, 280, 150, 30,  F::None},
    {50, K::Text,    "",                   nullptr,         360, 280, 50,  20,  F::Bold},
    {49, K::Picture, "",                   "AYUDA",         7,   348, 70,  53,  F::None},
    {38, K::Text,    "config.help",        nullptr,         15,  325, 220, 20,  F::Underlined},
    {17, K::Toggle,  "",                   nullptr,         87,  361, 25,  25,  F::None},
    {20, K::Text,    "config.sound",       nullptr,         250, 325, 100, 20,  F::Underlined},
    {53, K::Picture, "",                   "SO",            250, 350, 50,  50,  F::None},
    {16, K::Toggle,  "",                   nullptr,         320, 370, 25,  25,  F::None},
    {7,  K::Group,   "config.device",      nullptr,         455, 230, 174, 175, F::Bold},
    {51, K::Picture, "",                   "RATON",         483, 255, 50,  50,  F::None},
    {14, K::Toggle,  "",                   nullptr,         570, 280, 25,  25,  F::None},
    {52, K::Picture, "",                   "TECLADO",       480, 320, 50,  50,  F::None},
    {15, K::Toggle,  "",                   nullptr,         570, 340, 25,  25,  F::None},
    {8,  K::Group,   "",                   nullptr,         5,   405, 420, 110, F::Bold},
    {29, K::Link,    "",                   "TELVA",         10,  420, 137, 57,  F::None},
    {30, K::Link,    "",                   "SOLAX",         170, 420, 89,  57,  F::None},
    {31, K::Link,    "",                   "ZEB",           290, 420, 100, 65,  F::None},
    {32, K::Link,    "",                   "TEXT",          10,  490, 405, 23,  F::None},
    {33, K::Picture, "",                   "TIRVA",         430, 420, 201, 54,  F::None},
    {0,  K::Push,    "config.accept",      nullptr,         430, 488, 90,  27,  F::Bold},
    {1,  K::Push,    "config.cancel",      nullptr,         528, 488, 100, 27,  F::Bold},
    // Over the title banner, which it replaces when it is shown.
    {57, K::Notice,  "config.save_failed", nullptr,         430, 420, 201, 54,  F::Bold},
};
// clang-format on

const int CONFIG_CONTROL_COUNT = static_cast<int>(sizeof CONFIG_CONTROLS / sizeof CONFIG_CONTROLS[0]);

std::string configTitle(TextLanguage language) { return optionsText("config.title", language, ""); }

std::string controlText(const ControlRow& row, TextLanguage language) {
    return optionsText(row.text, language, row.text);
}

const char* controlPicture(const ControlRow& row, TextLanguage language) {
    // The pictures with words in them, each with its English twin.
    constexpr const char* WITH_WORDS[][2] = {
        {"SOLAX", "SOLAX_EN"}, {"ZEB", "ZEB_EN"}, {"TEXT", "TEXT_EN"}, {"TIRVA", "TIRVA_EN"}};
    if (language == TextLanguage::English && row.picture)
        for (const auto& pair : WITH_WORDS)
            if (std::string(row.picture) == pair[0]) return pair[1];
    return row.picture;
}

} // namespace sp
