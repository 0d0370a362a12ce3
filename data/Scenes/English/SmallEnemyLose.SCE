// The beaten enemy is gone in a puff of smoke, and your robot cheers beside it. Only the
// player's robots are seen: a unit in the computer's colours would seem to share the win.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor RobotSmallVorn Winner
Actor Explosion Smoke
Stage
Time 2
Camera
Position 0 -9 3
LookAt 0 0 2.6
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
Smoke
From 2.2 0 1
End
Winner
Animation VictoryJump Victory
End
End
