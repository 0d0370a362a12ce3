// The introduction: the professor presents the Vorns from space.
Background Space
Actor Professor Prof
Actor Earth Home
Actor SpaceBunny Hopper
Actor WormHole Gate
Actor Missile Rocket
Actor RobotSmallVorn Hero
Actor StalkMediumVorn Rival
Actor LaserBeam Beam
Actor Explosion Flash
Stage
Time 6
Camera
Position 0 -14 2
LookAt 0 0 1
End
Text
<SS> IntroLine1
Far out in space, on a small blue planet, we build little robots called Vorns.
End
Home
From 0 34 -4
FromScale 1
ToScale 1.4
End
Prof
Animation IdleGlasses Idle
End
End
Stage
Time 6
Camera
Position 0 -10 1
LookAt 0 0 1
End
Text
<SS> IntroLine2
You design them, you teach them patterns, and they fight all by themselves.
End
Hopper
From -6 0 0
To 6 0 1
FlipRate 90
End
Gate
From 0 6 0
Full
End
End
Stage
Time 6
Camera
Position 0 -12 2
LookAt 0 0 1
End
Text
<S> 2.2 LaserTest
<S> 3.2 MissileExplosion
<SS> IntroLine4
Each Vorn follows its own patterns. This one sees an enemy ahead, and fires.
End
Hero
From -7 0 0
To -3 0 0
AnimationLoop Walk Walk
Mood Mean
End
Rival
From 5 0 0
AnimationLoop Idle Idle
End
Beam
From -3 0 1
To 5 0 1
End
Flash
From 5 0 1
End
End
Stage
Time 4
Text
<SS> IntroLine5
Yours will learn whatever you teach them.
End
Hero
Mood Happy
Animation JumpDance Victory
End
Rival
Mood Sad
Animation Sag Defeat
End
End
Stage
Time 5
Text
<S> 0.5 MissileLaunch
<S> 3 MissileExplosion
<SS> IntroLine3
Ready, commander? Then let us begin.
End
Rocket
From -8 0 0
To 8 0 2
FromAxisAngle 0 0 1 0
End
Prof
Animation LookAround Idle
End
End
