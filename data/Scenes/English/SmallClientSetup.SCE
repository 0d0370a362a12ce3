// A bunny hops between the trees while a game is joined.
Background City
Actor Professor Prof
Actor PalmTree Palm
Actor Cactus Spike
Actor Bunny Hop
Stage
Time 5
Camera
Position 0 -14 4
LookAt 0 0 1
End
Text
<S> 0.5 DoorOpen
End
Palm
From -4 5 0
End
Spike
From 4 5 0
End
Hop
From -6 0 0
To 6 0 0
End
End
Stage
Time 5
Hop
To -6 0 0
FromAxisAngle 0 0 1 0
ToAxisAngle 0 0 1 180
End
End
