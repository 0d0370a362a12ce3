#include "net/NetworkEvent.h"

void NetworkEvent::Reset() {
    kind = NetworkEventKind::None;
    time = 0.0f;
    value = objectId = 0;
    player = secondPlayer = {};
    vectorA = vectorB = vectorC = vectorD = Vector3();
    float1 = float2 = actionValue = 0.0f;
    pieceCount = actionKind = 0;
    listA.clear();
    listB.clear();
    actionFlag = weaponFlag = 0;
    results.clear();
}
