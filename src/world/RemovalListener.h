#pragma once
// A holder of world object pointers outside the world model (mission beacons, speakers,
// scene targets...). The arena tells it about every object that leaves the world, before
// the object's pool slot can be handed out again, so that it drops its pointer.
class WorldObject;

class RemovalListener {
public:
    virtual ~RemovalListener() = default;
    virtual void OnObjectRemoved(WorldObject& object) = 0;
};
