// The beaten enemy is gone in a puff of smoke, and your robot cheers beside it. Only the
// player's robots are seen: a unit in the computer's colours would seem to share the win.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor RobotLargeVorn Winner
Actor Explosion Smoke
Stage
Time 2
Camera
Position 0 -20 4.5
LookAt 0 0 6
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
Smoke
From 5 0 2
End
Winner
Animation VictoryPointing Victory
End
End
