#include "world/Meteor.h"

Meteor::Meteor() { kind = kKindMeteor; }

void Meteor::Reset() {}

void Meteor::Draw(const Vector3&) {}

void Meteor::Update(bool) { SpendAllTime(); }
