// A large robot touches its toes.
Background Stage
Actor Professor Prof
Actor RobotLargeVorn Sitter
Stage
Time 5
Camera
Position 0 -14 4
LookAt 0 0 2.2
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
Animation ToeTouch Idle
End
End
