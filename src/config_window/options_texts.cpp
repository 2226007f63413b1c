// The words of the settings and options windows.
#include "config_window/options_texts.h"

#include "settings/options.h"

namespace sp {

namespace {

struct TextRow {
    const char* key;
    int step; // number options only; 0 elsewhere
    const char* english;
    const char* englishHint;
    const char* spanish;
    const char* spanishHint;
};

// clang-format off
constexpr TextRow TEXTS[] = {
    {"window.title", 0, "More options", nullptr, u8"M\u00E1s opciones", nullptr},
    {"ok", 0, "OK", nullptr, "Aceptar", nullptr},
    {"cancel", 0, "Cancel", nullptr, "Cancelar", nullptr},
    {"on", 0, "On", nullptr, u8"S\u00ED", nullptr},
    {"off", 0, "Off", nullptr, "No", nullptr},
    {"save.readonly", 0, "options.ini is read-only: the options are in use but not saved", nullptr,
     u8"options.ini es de solo lectura: las opciones se usan pero no se han guardado", nullptr},
    {"save.failed", 0, "options.ini could not be saved: the options are in use but not saved", nullptr,
     u8"No se pudo guardar options.ini: las opciones se usan pero no se han guardado", nullptr},
    {"file.in_use", 0, "options.ini is in use by another program: it cannot be saved yet", nullptr,
     u8"options.ini est\u00E1 en uso por otro programa: a\u00FAn no se puede guardar", nullptr},

    {"extra_cells", 0, "Extra cells", "A third row of the panel, in the order switched on",
     "Celdas extra", u8"Una tercera fila del panel, en el orden en que se activan"},
    {"cell.scroll_up", 0, "Scroll Up", nullptr, "Rueda arriba", nullptr},
    {"cell.scroll_down", 0, "Scroll Down", nullptr, "Rueda abajo", nullptr},
    {"cell.scroll_left", 0, "Scroll Left", nullptr, "Rueda izquierda", nullptr},
    {"cell.scroll_right", 0, "Scroll Right", nullptr, "Rueda derecha", nullptr},
    {"cell.menu", 0, "Menu", nullptr, u8"Men\u00FA", nullptr},
    {"cell.keyboard", 0, "Keyboard", nullptr, "Teclado", nullptr},
    {"scroll_interval_ms", 50, "Scroll interval (ms)", "Time between wheel notches while scrolling",
     "Intervalo de la rueda (ms)", "Tiempo entre pasos de la rueda al desplazar"},
    {"panel_steps_aside", 0, "Panel steps aside", "The panel moves to the other corner when the pointer comes",
     "El panel se aparta", u8"El panel pasa a la otra esquina cuando llega el puntero"},
    {"language", 0, "Language", "Of this window and of the settings window",
     "Idioma", u8"De esta ventana y de la de configuraci\u00F3n"},
    {"language.auto", 0, "Automatic", nullptr, u8"Autom\u00E1tico", nullptr},
    {"language.en", 0, "English", nullptr, "English", nullptr},
    {"language.es", 0, u8"Espa\u00F1ol", nullptr, u8"Espa\u00F1ol", nullptr},
    {"acceleration", 0, "Acceleration", "A movement speeds up the longer it runs",
     u8"Aceleraci\u00F3n", "El movimiento se acelera mientras dura"},
    {"acceleration_max", 1, "Top speed (times the step)", "How fast a movement can become",
     "Velocidad tope (veces el paso)", "Lo deprisa que puede llegar a ir un movimiento"},
    {"acceleration_ms", 200, "Time to top speed (ms)", "From the set step to the top speed",
     "Tiempo hasta la velocidad tope (ms)", "Desde el paso fijado hasta la velocidad tope"},
    {"after_move", 0, "After a movement", "Where the scan goes on when a press stops a movement",
     "Tras un movimiento", u8"Donde sigue el barrido cuando una pulsaci\u00F3n para un movimiento"},
    {"after_move.next", 0, "Next cell", nullptr, "Celda siguiente", nullptr},
    {"after_move.clicks", 0, "Click cells", nullptr, "Celdas de clic", nullptr},
    {"scan_loops", 1, "Scan rounds before rest", "Rounds without a press before Ready; 0: never",
     "Vueltas antes de reposo", u8"Vueltas sin pulsar antes de reposo; 0: nunca"},
    {"point_scan", 0, "Point cell", "A band and a line sweep each way; four presses fix the point",
     "Celda Apuntar", u8"Una banda y una l\u00EDnea barren cada eje; cuatro pulsaciones fijan el punto"},
    {"point_band_px_s", 50, "Band speed (px/s)", "How fast the band sweeps the screen",
     "Velocidad de la banda (px/s)", "Lo deprisa que la banda barre la pantalla"},
    {"point_line_px_s", 10, "Line speed (px/s)", "How fast the line sweeps inside the band; slower is surer",
     u8"Velocidad de la l\u00EDnea (px/s)", u8"Lo deprisa que la l\u00EDnea barre la banda; m\u00E1s lenta, m\u00E1s segura"},
    {"after_click", 0, "After a click", "Where the scan starts again once a click is made",
     "Tras un clic", u8"Donde vuelve a empezar el barrido tras un clic"},
    {"after_click.first", 0, "First cell", nullptr, "Primera celda", nullptr},
    {"after_click.point", 0, "Point cell", nullptr, "Celda Apuntar", nullptr},
    {"hold_ms", 10, "Hold to press (ms)", "A press counts once the switch is held this long; 0: at once",
     u8"Mantener para pulsar (ms)", u8"La pulsaci\u00F3n cuenta tras mantenerla este tiempo; 0: al momento"},
    {"ignore_repeat_ms", 50, "Ignore repeats (ms)", "A press this soon after the last one is dropped; 0: none",
     "Ignorar repeticiones (ms)", u8"Se descarta la pulsaci\u00F3n tan seguida de la anterior; 0: ninguna"},
    {"keyboard_scan", 0, "Keyboard scan", "Groups of likely keys, or rows then keys",
     "Barrido del teclado", "Grupos de teclas probables, o filas y luego teclas"},
    {"keyboard_scan.groups", 0, "Groups", nullptr, "Grupos", nullptr},
    {"keyboard_scan.rows", 0, "Rows", nullptr, "Filas", nullptr},
    {"keyboard_period_ms", 100, "Keyboard scan time (ms)", "Time each group or row is lit; 0: the panel's",
     "Tiempo de barrido del teclado (ms)", u8"Tiempo que se ilumina cada grupo o fila; 0: el del panel"},
    {"keyboard_learn", 0, "Learn my words", "New words typed are offered next time; never in a password",
     "Aprender mis palabras", u8"Las palabras nuevas se ofrecen la pr\u00F3xima vez; nunca en una contrase\u00F1a"},

    // The settings window.
    {"config.title", 0, "SETTINGS", nullptr, u8"CONFIGURACI\u00D3N", nullptr},
    {"config.clicks", 0, "Active Clicks", nullptr, "Clic Activos", nullptr},
    {"config.left", 0, "Left Click", nullptr, "Clic Izquierda", nullptr},
    {"config.double", 0, "Double Click", nullptr, "Doble Clic", nullptr},
    {"config.right", 0, "Right Click", nullptr, "Clic Derecho", nullptr},
    {"config.middle", 0, "Middle Click", nullptr, "Clic Medio", nullptr},
    {"config.drag", 0, "Drag", nullptr, "Arrastrar", nullptr},
    {"config.movement", 0, "Movement", nullptr, "Movimiento", nullptr},
    {"config.frequency", 0, "Frequency", nullptr, "Frecuencia", nullptr},
    {"config.slow", 0, "Slow", nullptr, "Lenta", nullptr},
    {"config.fast", 0, "Fast", nullptr, u8"R\u00E1pida", nullptr},
    {"config.cursor", 0, "Cursor", nullptr, "Cursor", nullptr},
    {"config.colour", 0, "Choose the colour of the cursor lines:", nullptr,
     "Seleccionar un color lineas cursor:", nullptr},
    {"config.opacity", 0, "Opacity:", nullptr, "Opacidad:", nullptr},
    {"config.help", 0, "Show help at the cursor:", nullptr, "Seleccionar ayuda en cursor:", nullptr},
    {"config.sound", 0, "Sound:", nullptr, "Sonido:", nullptr},
    {"config.device", 0, "Switch", nullptr, u8"Acci\u00F3n de Clic", nullptr},
    {"config.accept", 0, "OK", nullptr, "ACEPTAR", nullptr},
    {"config.cancel", 0, "CANCEL", nullptr, "CANCELAR", nullptr},
    {"config.save_failed", 0, "The settings could not be saved", nullptr,
     u8"No se pudo guardar la configuraci\u00F3n", nullptr},
    {"config.file_in_use", 0, "config.ini is in use by another program: it cannot be saved yet", nullptr,
     u8"config.ini est\u00E1 en uso por otro programa: a\u00FAn no se puede guardar", nullptr},
};
// clang-format on

const TextRow* rowOf(const std::string& key) {
    for (const TextRow& row : TEXTS)
        if (key == row.key) return &row;
    return nullptr;
}

} // namespace

TextLanguage textLanguageFor(int languageOption, bool userLanguageSpanish) {
    if (languageOption == LANGUAGE_EN) return TextLanguage::English;
    if (languageOption == LANGUAGE_ES) return TextLanguage::Spanish;
    return userLanguageSpanish ? TextLanguage::Spanish : TextLanguage::English;
}

TextLanguage settingsTextLanguageFor(int languageOption) {
    return languageOption == LANGUAGE_EN ? TextLanguage::English : TextLanguage::Spanish;
}

std::string optionsText(const std::string& key, TextLanguage language, const std::string& fallback) {
    const TextRow* row = rowOf(key);
    if (!row) return fallback;
    return language == TextLanguage::Spanish ? row->spanish : row->english;
}

std::string optionsHint(const std::string& key, TextLanguage language) {
    const TextRow* row = rowOf(key);
    const char* hint = !row                                ? nullptr
                       : language == TextLanguage::Spanish ? row->spanishHint
                                                           : row->englishHint;
    return hint ? hint : "";
}

int optionStep(const std::string& key) {
    const TextRow* row = rowOf(key);
    return row && row->step > 0 ? row->step : 1;
}

} // namespace sp
