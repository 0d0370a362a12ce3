// The enemy stalk collapses while your robot cheers beside it.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor StalkMediumVorn Star
Actor RobotMediumVorn Winner
Stage
Time 2
Camera
Position 0 -13.5 3.5
LookAt 0 0 3.7
End
Star
From 3.2 0 0
AnimationLoop Idle Idle
Mood Sad
End
Winner
From -3.2 0 0
AnimationLoop Idle Idle
Mood Happy
End
End
Stage
Time 4
Text
<S> 0.3 Lose
End
Star
Animation Collapse Defeat
End
Winner
Animation VictoryCheer Victory
End
End
