// The enemy stalk goes splat while your robot cheers beside it.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor StalkLargeVorn Star
Actor RobotLargeVorn Winner
Stage
Time 2
Camera
Position 0 -20 4.5
LookAt 0 0 6
End
Star
From 5 0 0
AnimationLoop Idle Idle
Mood Sad
End
Winner
From -5 0 0
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
Animation Splat Defeat
End
Winner
Animation VictoryPointing Victory
End
End
