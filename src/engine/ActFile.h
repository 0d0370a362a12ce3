#pragma once
// Actor and scene definition files (".act"): named meshes loaded from painted OBJ files
// and baked with a scale, rotation and translation, and actors built from them: nodes
// with a mesh, a transform, child actors and, for the file's root actor "*", pose sets
// read from ".key" and ".ppp" side files. An actor with a name of its own that defines
// nothing is loaded from the ".act" file of that name, so definitions nest. Files named
// inside a definition are looked for beside it first, then in the working folder.
#include "core/Array.h"
#include "core/String.h"
#include "engine/ModelLoadSettings.h"

class ActorSet;
class ModelNode;

// The files a definition names itself (a nested definition lists its own).
struct ActFileLists {
    StringArray meshes;     // ".obj"
    StringArray actFiles;   // nested ".act"
    StringArray keyFiles;   // ".key"
    StringArray poseFiles;  // ".ppp"
};

// The last root actor of the file, scaled and fitted as asked (fit size 0: no fitting),
// or none. With `lists`, only lists the files it names and builds nothing. Nested
// definitions that loop back, or nest deeper than the cap, are refused with a console
// line, as is every named file that cannot be loaded.
ModelNode* LoadSceneFile(const String& fileName, float scale, float fitSize, const ModelLoadSettings& settings,
                         bool createDeviceMeshes, ActFileLists* lists);
// The same language without pose sets or comments, for an actor set: its one entry is
// the root actor, named after the file.
void LoadActorFile(ActorSet& set, const String& fileName, float scale, const ModelLoadSettings& settings);
