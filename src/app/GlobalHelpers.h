#pragma once
// Small helpers of the application shared by the world, the units and the editors:
// angles and headings on the ground plane, distances between objects, the shared
// animation phase, the scene lighting and the paths of the game's data files.
#include <cstdint>
#include <vector>

#include "core/String.h"
#include "core/Vector2.h"
#include "core/Vector3.h"
#include "core/Vector3Array.h"

class Sound;
class Sounder;
class WorldObject;
struct Ray;

// (cos angle, sin angle).
Vector2 VectorFromAngle(float angle);
// v divided by its length; the caller passes a non-zero vector.
Vector2 Normalize2D(const Vector2& v);
// The arc cosine with the argument clamped to [-1, 1].
double SafeAcos(double x);
// The angle between two vectors, through their normalised dot product.
float AngleBetween(const Vector3& a, const Vector3& b);
// The signed turn from a to b, in [-pi, pi]; a turn of exactly pi keeps its sign.
float AngleDifference(float a, float b);
// The signed ground-plane angle of the direction from one point to the other; 0 when
// they are closer than 0.01.
float HeadingBetween(const Vector2& from, const Vector2& to);
// origin + t x direction.
Vector3 PointAlongRay(const Ray& ray, float t);

// The two objects' collision radii plus 0.005.
float ContactRadiusSum(const WorldObject& a, const WorldObject& b);
// extent(a) + extent(b) + gap, where the extent is the collision radius plus, for a
// cylinder, the length of its axis.
float SeparationDistance(const WorldObject& a, const WorldObject& b, float gap);

// The largest overlap area between the circle and the listed circles, each circle
// given as (x, y, radius); 0 for an empty list.
float MaxCircleOverlap(const Vector3& circle, const Vector3Array& circles);
// Places a marker circle of radius 0.5 just outside the centre circle (x, y, r) without
// covering the markers already listed: up to 16 angles from `angle` on; the chosen
// marker is appended to the list and `angle` left at its angle. The answer is the point
// at `scale` times the marker's distance from the centre.
Vector2 FindFreeSpotAround(const Vector3& centre, float& angle, float scale, Vector3Array& markers);

// Advances the shared animation phase, kept in [0, 1], by 0.75 per second of frame time.
void AdvanceSharedPhase();
float GetSharedPhase();
void SetSharedPhase(float phase);

// Set once at start-up; the terrain copies the light direction when constructed and the
// objects read both when they take their light.
Vector3 GetSceneLightDirection();
void SetSceneLightDirection(const Vector3& direction);
const float* GetSecondMaterialColor();  // four floats: red, green, blue, alpha
void SetSecondMaterialColor(float red, float green, float blue, float alpha);

// Paths of the game's data, spelled as the data names them; the path layer resolves the
// separators and the case.
String TexturePath(const String& name);
// ".WAV" is added when the name has no extension.
String SoundPath(const String& name);
String ActorPath(const String& name);
String ActorModelPath(const String& name);
String ActorPaintedTexturePath(const String& name);
// Unit and squad files take the current folder and file prefix (a network exchange sets
// a prefix per peer); scenario files take the folder only.
String ScenarioFilePath(const String& name);
String SquadFilePath(const String& name);
String VornFilePath(const String& name);
// The current player's folders, each ending in a backslash ("Vorns\", "Squads\" and
// "Scenarios\" until a player is chosen), and the file prefixes (empty outside a
// network exchange).
void SetDataFolders(const String& vornFolder, const String& squadFolder, const String& scenarioFolder);
void SetFilePrefixes(const String& vornPrefix, const String& squadPrefix);

// Redraws the start-up loading screen; there is nothing to draw without a window.
void ShowLoadingScreen();
// The sound manager that effect sounds play through; start-up sets it. With none (a
// headless run) every effect sound is a silent record, and the helpers still answer.
void SetEffectSounder(Sounder* sounder);
Sounder* GetEffectSounder();
// The user's effects volume factor, 1 until the options set it.
void SetEffectVolumeFactor(float factor);
float GetEffectVolumeFactor();

// The index of the effect sound, loaded once per name (letter case ignored): every
// object that names the sound shares one record. Never negative for a non-empty name;
// -1 for an empty one.
int32_t LoadEffectSound(const String& path);
// Plays the sound at the effects factor x volume; an index never handed out does nothing.
void PlayEffectSound(int32_t sound, float volume, int32_t argument);
// The record behind an index, or none.
Sound* GetEffectSound(int32_t sound);
void PlaceEffectSound(int32_t sound, const Vector3& point);
void StopEffectSound(int32_t sound);
bool IsEffectSoundPlaying(int32_t sound);

// One PlayEffectSound call: the sound, its upper-cased name, the volume handed to the
// sound manager (factor applied) and the flags.
struct EffectSoundRequest {
    int32_t sound = -1;
    String name;
    float volume = 0.0f;
    int32_t flags = 0;
};
// While recording is on (tests), every PlayEffectSound call is kept in order, so that a
// headless game can be heard. Off at start; turning it on empties the list.
void RecordEffectSoundRequests(bool on);
const std::vector<EffectSoundRequest>& GetEffectSoundRequests();
