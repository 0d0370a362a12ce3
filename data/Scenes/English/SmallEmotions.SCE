// A small robot shows its moods.
Background Stage
Actor Professor Prof
Actor RobotSmallVorn Face
Stage
Time 3
Camera
Position 0 -6 2
LookAt 0 0 1
End
Face
From 0 0 0
Mood Happy
AnimationLoop Idle Idle
End
End
Stage
Time 3
Face
Mood Sad
Animation HeadDroop Defeat
End
End
Stage
Time 3
Face
Mood Mean
Animation ShakeHead Defeat
End
End
Stage
Time 2
Face
Mood Happy
Animation VictoryTilt Victory
End
End
