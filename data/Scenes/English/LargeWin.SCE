// Your large robot cheers.
Background Stage
Actor Professor Prof
Actor RobotLargeVorn Star
Stage
Time 2
Camera
Position 0 -14 4
LookAt 0 0 2.2
End
Star
From 0 0 0
AnimationLoop Idle Idle
Mood Happy
End
End
Stage
Time 4
Text
<S> 0.3 Yahoo
End
Star
Animation VictoryJump Victory
End
End
