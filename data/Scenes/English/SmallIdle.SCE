// A small robot waits and looks around.
Background Stage
Actor Professor Prof
Actor RobotSmallVorn Sitter
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
Animation QuickLook Idle
End
End
