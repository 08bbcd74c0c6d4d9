#pragma once

// The sample rolling stock: a steam locomotive and its tender, a diesel locomotive, two
// coaches, a cattle van and two box vans of one pack, each a model and the one texture it is
// painted with, and the freight shapes drawn with it: the tender's coal, and each box van's
// running number, painted on a shape of its own over the body the two vans share.

#include "Model.h"
#include "Paint.h"
#include "RenderModel.h"

#include <string>
#include <vector>

namespace sample {

// A shape the definition file names in a FreightAnim entry.
struct Freight {
    std::string shape;   // file name as the definition writes it
    std::string texture; // image name as the shape writes it
    Model model;
    Picture picture;
    float fullHeight = 0, emptyHeight = 0; // the entry's two numbers, metres
    bool quoted = false;                   // the definition writes the name in quotes
};

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
    std::vector<Freight> freight;            // drawn with the vehicle
};

// Where the simulator draws a freight shape: a tender's load full, any other at the origin.
V3 freightOffset(const Vehicle& v, const Freight& f);

// The vehicle's model first, then its freight shapes in place, for drawing straight from the
// designs.
std::vector<Placed> drawnParts(const Vehicle& v);

Vehicle dieselLocomotive();
Vehicle steamLocomotive();
Vehicle steamTender();
Vehicle firstClassCoach();
Vehicle secondClassCoach();
Vehicle cattleVan();
// A covered van of the pack; each number gives another car with its own number shape.
Vehicle boxVan(int number);

// The eight vehicles above, in that order, the box vans numbered 4101 and 4102.
std::vector<Vehicle> sampleVehicles();

} // namespace sample
