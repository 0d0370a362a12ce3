// The enemy stalk hangs its head.
// The camera looks high: the figures, jumps included, stand below the text box
// that covers the top of the winning window.
Background Stage
Actor Professor Prof
Actor StalkSmallVorn Star
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
Animation Embarrassed Defeat
End
End
