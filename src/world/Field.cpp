#include "world/Field.h"

Field::Field(int fieldKind) { kind = fieldKind; }

void Field::Reset() {}
