// A small stalk paces across the stage.
Background Stage
Actor Professor Prof
Actor StalkSmallVorn Walker
Stage
Time 4
Camera
Position 0 -12 4
LookAt 0 0 1
End
Walker
From -4 0 0
To 4 0 0
FromAxisAngle 0 0 1 0
AnimationLoop Walk Walk
End
End
Stage
Time 4
Walker
To -4 0 0
FromAxisAngle 0 0 1 0
ToAxisAngle 0 0 1 180
AnimationLoop Walk Walk
End
End
Stage
Time 2
Walker
AnimationLoop Idle Idle
End
End
