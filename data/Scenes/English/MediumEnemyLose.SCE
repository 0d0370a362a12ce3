// The beaten enemy is gone in a puff of smoke, and your robot cheers beside it. Only the
// player's robots are seen: a unit in the computer's colours would seem to share the win.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor RobotMediumVorn Winner
Actor Explosion Smoke
Stage
Time 2
Camera
Position 0 -13.5 3.5
LookAt 0 0 3.7
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
Smoke
From 3.2 0 1.5
End
Winner
Animation VictoryCheer Victory
End
End
