// The professor thanks the commander after the last mission.
Background Space
Actor Professor Prof
Actor Earth Home
Actor Bunny Friend
Actor LaserBeam Beam
Stage
Time 6
Camera
Position 0 -12 2
LookAt 0 0 1
End
Text
<SS> Winning1Line1
You did it, commander! Every mission is won.
End
Home
From 0 36 -4
ToScale 1.5
End
Prof
Animation LookUpAndAround Idle
End
End
Stage
Time 4
Text
<S> 0.2 LaserTest
End
Beam
From -8 0 2
To 8 0 2
End
Friend
From 0 -2 0
FlipRate 180
End
End
Stage
Time 5
Text
<SS> Winning1Line2
Thank you for playing. The Vorns will be ready whenever you are.
End
Prof
Animation IdleNosePick Idle
End
End
