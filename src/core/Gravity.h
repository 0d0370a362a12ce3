#pragma once
// The pull of gravity in world units per second squared; it points down, along -z.
constexpr float kGravity = 9.8f;
