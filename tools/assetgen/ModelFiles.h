#pragma once
// Writers of the model files the game reads: painted OBJ, ".act" actor definitions,
// ".key" pose keys, ".ppp" tracks and the AN8 text of the two debug shapes.
#include <string>

#include "ActorModel.h"

namespace assetgen {

class Output;

// Painted files store positions and normals in (y, z, x) order, which the reader turns
// back to (x, y, z), and triangles in the game's winding.
std::string ObjText(const TriMesh& mesh);
void WritePaintedMesh(Output& output, const std::string& folder, const std::string& name, const PaintedMesh& mesh);

std::string ActText(const ActorModel& model);
std::string KeyText(const ActorModel& model, const PoseSet& set);
std::string PppBytes(const PoseSet& set, const std::string& track);
// Writes the ".act", every mesh it names, and the pose files, all in the folder.
void WriteActor(Output& output, const std::string& folder, const ActorModel& model);

std::string An8Sphere(const std::string& name, float radius);
std::string An8Cylinder(const std::string& name, float radius, float length);

}  // namespace assetgen
