// A small stalk sneaks between the clouds of the city.
Background City
Actor Professor Prof
Actor StalkSmallVorn Sneak
Actor Cloud Puff
Stage
Time 5
Sneak
From -6 0 0
To 0 2 0
Speed 0.5
AnimationLoop Walk2 Walk
End
Puff
From -4 4 6
To 4 4 6
End
End
Stage
Time 3
Sneak
AnimationLoop LookAround Idle
End
Puff
To 6 4 6
End
End
Stage
Time 3
Sneak
To 6 2 0
AnimationLoop Walk Walk
Speed 1.5
End
End
