// The enemy stalk wobbles with joy.
Background Stage
Actor Professor Prof
Actor StalkLargeVorn Star
Stage
Time 2
Camera
Position 0 -14 4
LookAt 0 0 2.2
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
<S> 0.3 EnemyLaugh3
End
Star
Animation Wobble Victory
End
End
