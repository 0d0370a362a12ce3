// The enemy stalk gloats.
Background Stage
Actor Professor Prof
Actor StalkSmallVorn Star
Stage
Time 2
Camera
Position 0 -9 3
LookAt 0 0 1
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
