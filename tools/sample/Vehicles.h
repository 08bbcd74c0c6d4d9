#pragma once

// The sample rolling stock: a steam locomotive and its tender, a diesel locomotive, two
// coaches and a cattle van, each a model and the one texture it is painted with.

#include "Model.h"
#include "Paint.h"

#include <string>
#include <vector>

namespace sample {

struct Vehicle {
    std::string name;        // definition file name without extension, e.g. "CR_D400"
    std::string displayName; // the Name entry of the definition file
    std::string type;        // Engine, Tender, Carriage or Freight
    bool engine = false;     // .eng (else .wag)
    std::string texture;     // image name as the shape writes it
    Model model;
    Picture picture;
    float width = 0, height = 0, length = 0; // metres, as the definition's Size gives them
    float mass = 0;                          // tonnes
};

Vehicle dieselLocomotive();
Vehicle steamLocomotive();
Vehicle steamTender();
Vehicle firstClassCoach();
Vehicle secondClassCoach();
Vehicle cattleVan();

// The six vehicles above, in that order.
std::vector<Vehicle> sampleVehicles();

} // namespace sample
