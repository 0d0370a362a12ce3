// The enemy stalk hangs its head while your robot cheers beside it.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor StalkSmallVorn Star
Actor RobotSmallVorn Winner
Stage
Time 2
Camera
Position 0 -9 3
LookAt 0 0 2.6
End
Star
From 2.2 0 0
AnimationLoop Idle Idle
Mood Sad
End
Winner
From -2.2 0 0
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
Animation Embarrassed Defeat
End
Winner
Animation VictoryJump Victory
End
End
