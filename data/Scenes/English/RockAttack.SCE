// A rock falls and a robot runs for it.
Background Desert
Actor Professor Prof
Actor Rock Boulder
Actor RobotSmallVorn Runner
Actor Mesa Cliff
Actor Explosion Dust
Actor Debris Chips
Stage
Time 3
Camera
Position 0 -14 5
LookAt 0 0 1
End
Cliff
From 0 12 0
End
Runner
From -2 0 0
AnimationLoop Idle Idle
End
Boulder
From 0 0 14
FallTo 0 0 1
ShotVelocity 0 0 -2
End
End
Stage
Time 2
Text
<S> 0.1 MeteorHit1
End
Boulder
Debris 0 0 4
End
Dust
From 0 0 1
End
Chips
From 1 0 1
To 3 0 0
End
Runner
Mood Sad
Animation ShakeHead Defeat
End
End
Stage
Time 3
Runner
To -8 0 0
AnimationLoop Walk Walk
Speed 1.5
End
End
