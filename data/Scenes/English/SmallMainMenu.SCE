// The professor at work in the lab.
Background Lab
Actor Professor Prof
Actor Computer Desk
Actor RobotSmallVorn Helper
Stage
Time 5
Camera
Position 0 -10 3
LookAt 0 0 1
End
Desk
From 2 3 0
End
Helper
From -2 0 0
AnimationLoop HeadbobIdle Idle
End
Prof
Animation TapFoot Idle
End
End
Stage
Time 4
Helper
Animation GunTwirl Idle
End
Prof
Animation SideToSideStretch Idle
End
End
