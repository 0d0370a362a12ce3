#pragma once
// The side files of a pose set: the ".key" text file of example poses and the ".ppp"
// binary files of tracks through them.
#include "core/String.h"

class ModelNode;
class PoseAnimation;
struct PoseTrack;

// Reads the keys of a pose set for the model and builds the animation, which takes the
// file's title as its name. False when the file cannot be opened, ends before every key
// is read, or holds more keys or nodes than an animation may; the animation is then
// not built.
bool LoadKeyFile(const String& path, ModelNode& node, PoseAnimation& animation);
// False, with the track unchanged, when the file cannot be opened or is short.
bool LoadPoseFile(const String& path, PoseTrack& track);
