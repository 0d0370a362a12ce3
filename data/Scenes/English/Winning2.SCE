// Big Vorns play with a ball.
Background Stage
Actor Professor Prof
Actor RobotLargeVorn Big
Actor StalkLargeVorn Tall
Actor SoccerBall Ball
Stage
Time 4
Camera
Position 0 -16 5
LookAt 0 0 1
End
Big
From -5 0 0
AnimationLoop Idle Idle
End
Tall
From 5 0 0
AnimationLoop Idle Idle
End
Ball
From -4 0 0
To 4 0 0
ShotVelocity 2 0 3
End
End
Stage
Time 3
Text
<S> 0.2 BallKick
End
Tall
Animation Wave Victory
End
Ball
To -4 0 0
ShotVelocity -2 0 3
End
End
Stage
Time 3
Big
Animation VictoryPump Victory
End
End
