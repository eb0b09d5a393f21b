#pragma once

namespace corvane {

class State;

// The five equipment files of the product-data folder, read at start in this order.
void ReadCondenserRatings(State& s);
void ReadCondenserModels(State& s);
void ReadCondenserProducts(State& s);
void ReadCoolerRatings(State& s);
void ReadCoolerProducts(State& s);
void ReadEquipmentFiles(State& s);

} // namespace corvane
