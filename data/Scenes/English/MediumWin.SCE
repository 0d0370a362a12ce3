// Your medium robot cheers.
Background Stage
Actor Professor Prof
Actor RobotMediumVorn Star
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
<S> 0.3 Hooray
End
Star
Animation VictoryCheer Victory
End
End
