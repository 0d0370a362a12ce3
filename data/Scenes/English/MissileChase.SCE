// A missile chases a robot past the mountains.
Background Desert
Actor Professor Prof
Actor RobotMediumVorn Target
Actor Missile Chaser
Actor Mountain Peak
Stage
Time 4
Camera
Position 0 -18 6
LookAt 0 0 1
End
Text
<S> 0.2 MissileLaunch
End
Peak
From 0 20 0
End
Target
From -10 0 0
To 4 0 0
AnimationLoop Walk Walk
Speed 2
End
Chaser
From -16 0 2
To -2 0 2
End
End
Stage
Time 2
Text
<S> 0.3 MissileExplosion
End
Chaser
To 4 0 1
End
Target
To 10 0 0
Mood Sad
Speed 2
End
End
