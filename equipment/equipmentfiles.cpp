#include "equipment/equipmentfiles.h"
#include "definitions/state.h"

namespace corvane {

void ReadCondenserRatings(State&) {}
void ReadCondenserModels(State&) {}
void ReadCondenserProducts(State&) {}
void ReadCoolerRatings(State&) {}
void ReadCoolerProducts(State&) {}
void ReadEquipmentFiles(State& s) {
    ReadCondenserRatings(s);
    ReadCondenserModels(s);
    ReadCondenserProducts(s);
    ReadCoolerRatings(s);
    ReadCoolerProducts(s);
}

} // namespace corvane
