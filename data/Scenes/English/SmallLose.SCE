// Your small robot is sad.
// The camera looks high: the figure stands below the text box that covers the top
// of the losing window.
Background Stage
Actor Professor Prof
Actor RobotSmallVorn Star
Stage
Time 2
Camera
Position 0 -9 3
LookAt 0 0 2.6
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
Animation Sad Defeat
End
End
