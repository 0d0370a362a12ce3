// The enemy stalk goes splat.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor StalkLargeVorn Star
Stage
Time 2
Camera
Position 0 -20 4.5
LookAt 0 0 6
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
Animation Splat Defeat
End
End
