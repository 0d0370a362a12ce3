// A stalk hides behind the trees.
Background City
Actor Professor Prof
Actor PineTree Pine
Actor OakTree Oak
Actor StalkSmallVorn Hider
Stage
Time 4
Camera
Position 0 -16 5
LookAt 0 0 1
End
Pine
From -3 4 0
End
Oak
From 3 4 0
End
Hider
From 8 0 0
To 0 6 0
AnimationLoop Walk Walk
End
End
Stage
Time 3
Hider
AnimationLoop IdleBackAndForth Idle
End
End
Stage
Time 3
Hider
To -8 6 0
AnimationLoop Walk Walk
End
End
