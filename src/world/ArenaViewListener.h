#pragma once
// What the views of the battlefield (its window, the mini-map, the trays, the editors and
// the debugger) hear of the arena. The world knows no window: the arena tells each
// registered listener, the shell registers the views at start-up, and a headless arena
// tells nobody. Every call has a default that ignores it.
class String;
class Vorn;
class WorldObject;

class ArenaViewListener {
public:
    // An object leaves the world: every reference to it (selection, camera follow, the
    // unit editor, the debugger) goes before its pool slot can be handed out again. The
    // arena tells this first, while the game still names the object as its selected unit.
    virtual void OnObjectRemoved(WorldObject& /*object*/) {}
    // The battlefield is being cleared: the selection and the views of selected objects go.
    virtual void OnSelectionViewsClosed() {}
    // An edited unit left the battlefield and is kept aside so that the player can still
    // save it; it stays out of its pool.
    virtual void OnEditedVornKept(Vorn& /*vorn*/) {}
    // The terrain's shape or paint changed.
    virtual void OnTerrainChanged() {}
    // The player whose objects, units and squads are offered, or the team they join, changed.
    virtual void OnCurrentPlayerChanged() {}
    // The scenario or squad now in use.
    virtual void OnScenarioNamed(const String& /*name*/) {}
    virtual void OnSquadNamed(const String& /*name*/) {}
    // A squad file of that name was written: the list of saved squads changed.
    virtual void OnSquadSaved(const String& /*name*/) {}
    // Around a scenario load: the cameras recentre before it and after it.
    virtual void OnScenarioLoadStarted() {}
    virtual void OnScenarioLoaded() {}
    // What the camera follows passes from one object to another (none: it stops).
    virtual void OnFollowedObjectReplaced(WorldObject* /*from*/, WorldObject* /*to*/) {}

protected:
    ~ArenaViewListener() = default;
};
