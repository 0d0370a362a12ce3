// A medium robot stretches.
Background Stage
Actor Professor Prof
Actor RobotMediumVorn Sitter
Stage
Time 5
Camera
Position 0 -9 3
LookAt 0 0 1
End
Sitter
From 0 0 0
AnimationLoop Idle Idle
Mood Happy
End
End
Stage
Time 4
Sitter
Animation StretchIdle Idle
End
End
