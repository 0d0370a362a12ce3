// The enemy stalk gloats.
// The camera looks high: the figure stands below the text box that covers the top
// of the losing window.
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
Mood Mean
End
End
Stage
Time 4
Text
<S> 0.3 EnemyLaugh1
End
Star
Animation WooHoo Victory
End
End
