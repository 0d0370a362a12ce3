// Your large robot asks why.
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
Mood Sad
End
End
Stage
Time 4
Text
<S> 0.3 Lose
End
Star
Animation WhyMe Defeat
End
End
