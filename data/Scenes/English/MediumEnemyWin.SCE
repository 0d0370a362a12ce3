// The enemy stalk cheers.
Background Stage
Actor Professor Prof
Actor StalkMediumVorn Star
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
<S> 0.3 EnemyLaugh2
End
Star
Animation RahRah Victory
End
End
