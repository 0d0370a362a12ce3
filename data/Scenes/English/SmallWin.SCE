// Your small robot cheers.
Background Stage
Actor Professor Prof
Actor RobotSmallVorn Star
Stage
Time 2
Camera
Position 0 -9 3
LookAt 0 0 1
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
<S> 0.3 Yippee
End
Star
Animation VictoryJump Victory
End
End
