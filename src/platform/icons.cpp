// Resource names of the cell icons, shared by the logic and the Win32 side.
#include "platform/platform.h"

namespace sp {

const char* iconResourceName(Icon icon) {
    switch (icon) {
    case Icon::Stop: return "STOP";
    case Icon::Start: return "START";
    case Icon::Esquerra: return "ESQUERRA";
    case Icon::Dreta: return "DRETA";
    case Icon::Amunt: return "AMUNT";
    case Icon::Avall: return "AVALL";
    case Icon::ClicEsquerra: return "CLIC_ESQUERRA";
    case Icon::ClicDreta: return "CLIC_DRETA";
    case Icon::MiddelClic: return "MIDDEL_CLIC";
    case Icon::DobleClic: return "DOBLE_CLIC";
    case Icon::Arrastra: return "ARRASTRA";
    case Icon::RodaAmunt: return "RODA_AMUNT";
    case Icon::RodaAvall: return "RODA_AVALL";
    case Icon::RodaEsquerra: return "RODA_ESQUERRA";
    case Icon::RodaDreta: return "RODA_DRETA";
    case Icon::Menu: return "MENU";
    }
    return "STOP";
}

} // namespace sp
