// Every chassis in a row.
Background Stage
Actor Professor Prof
Actor RobotSmallVorn A
Actor RobotMediumVorn B
Actor RobotLargeVorn C
Actor StalkSmallVorn D
Actor StalkMediumVorn E
Actor StalkLargeVorn F
Stage
Time 6
Camera
Position 0 -24 6
LookAt 0 0 1
End
A
From -10 0 0
End
B
From -6 0 0
End
C
From -2 0 0
End
D
From 2 0 0
End
E
From 6 0 0
End
F
From 10 0 0
End
End
